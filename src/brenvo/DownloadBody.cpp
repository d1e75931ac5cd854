#include "brenvo/DownloadBody.h"

#include <vector>

int DownloadProgress(int64_t remaining, int64_t total)
{
    if (total <= 0)
        return 0;
    return static_cast<int>(100.0 - static_cast<double>(remaining) / static_cast<double>(total) * 100.0);
}

bool DownloadBody(int64_t contentLength, const DownloadIo& io)
{
    if (contentLength <= 0)
        return false;
    std::vector<char> buffer(kDownloadChunk);
    int64_t remaining = contentLength;
    while (remaining > 0) {
        const int want = remaining < kDownloadChunk ? static_cast<int>(remaining) : kDownloadChunk;
        const int got = io.read(buffer.data(), want);
        if (got <= 0 || got > want)
            return false;
        if (!io.write(buffer.data(), got))
            return false;
        remaining -= got;
        if (io.progress)
            io.progress(DownloadProgress(remaining, contentLength));
    }
    // A stack that keeps more bytes than it declared is not trusted either.
    char extra = 0;
    return io.read(&extra, 1) == 0;
}
