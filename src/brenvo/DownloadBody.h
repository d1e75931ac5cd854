// The download of the setup program's bytes: what the reply declared against what arrived.
// Platform-neutral; the caller gives the reply, the file and the progress bar as functions.
#pragma once

#include <cstdint>
#include <functional>

struct DownloadIo {
    // Reads up to size bytes; the count read, 0 at the end of the body, < 0 on an error.
    std::function<int(void* buffer, int size)> read;
    // Writes size bytes; false when they could not all be written.
    std::function<bool(const void* data, int size)> write;
    // The bar's new position, 0 to 100.
    std::function<void(int position)> progress;
};

// The size of each read.
const int kDownloadChunk = 4096;

// Position of the progress bar with remaining of total bytes still to come: 100 - remaining /
// total x 100, in floating point, truncated.
int DownloadProgress(int64_t remaining, int64_t total);

// Reads the body in chunks of at most kDownloadChunk and writes exactly what each read returned.
// True only when contentLength > 0 (a reply without a length, such as a chunked one, is refused)
// and exactly contentLength bytes arrived and were written. A body cut off early reads as a
// successful read of 0 bytes on some stacks: that ends the loop and counts as a failure.
bool DownloadBody(int64_t contentLength, const DownloadIo& io);
