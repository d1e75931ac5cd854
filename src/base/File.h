// Whole-file reads and crash-safe replacement of the program's data files. Paths are UTF-16, as
// the program folder may hold any character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace base {

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes);
// Writes to a temporary file beside `path` and then replaces `path` with it, so a failed save
// never destroys the previous file.
bool WriteFileReplacing(const std::u16string& path, const std::vector<uint8_t>& bytes);
bool DeleteFileAt(const std::u16string& path);

// What tells one version of a file from another without reading it: its size and last-write time.
struct CFileStamp {
    bool exists = false;
    uint64_t size = 0;
    int64_t writeTime = 0; // platform units (ns since 1970 here, FILETIME on Windows)
    bool operator==(const CFileStamp& o) const
    {
        return exists == o.exists && size == o.size && writeTime == o.writeTime;
    }
    bool operator!=(const CFileStamp& o) const { return !(*this == o); }
};
CFileStamp GetFileStamp(const std::u16string& path);

} // namespace base
