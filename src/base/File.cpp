#include "base/File.h"

#include <cstdio>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "base/Utf16.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace base {

namespace {

#ifdef _WIN32
std::wstring Native(const std::u16string& path) { return std::wstring(path.begin(), path.end()); }
FILE* OpenFile(const std::u16string& path, const wchar_t* mode) { return _wfopen(Native(path).c_str(), mode); }
#else
std::string Native(const std::u16string& path) { return Utf16ToUtf8(path); }
FILE* OpenFile(const std::u16string& path, const wchar_t* mode)
{
    return std::fopen(Native(path).c_str(), mode[0] == L'r' ? "rb" : "wb");
}
#endif

} // namespace

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    FILE* f = OpenFile(path, L"rb");
    if (!f)
        return false;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool WriteFileReplacing(const std::u16string& path, const std::vector<uint8_t>& bytes)
{
    const std::u16string temporary = path + u".new";
    FILE* f = OpenFile(temporary, L"wb");
    if (!f)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok) {
#ifdef _WIN32
        ok = MoveFileExW(Native(temporary).c_str(), Native(path).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
        ok = std::rename(Native(temporary).c_str(), Native(path).c_str()) == 0;
#endif
    }
    if (!ok)
        DeleteFileAt(temporary);
    return ok;
}

bool DeleteFileAt(const std::u16string& path)
{
#ifdef _WIN32
    return DeleteFileW(Native(path).c_str()) != 0;
#else
    return std::remove(Native(path).c_str()) == 0;
#endif
}

CFileStamp GetFileStamp(const std::u16string& path)
{
    CFileStamp stamp;
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Native(path).c_str(), GetFileExInfoStandard, &data))
        return stamp;
    stamp.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.writeTime = static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                           data.ftLastWriteTime.dwLowDateTime);
#else
    struct stat st;
    if (stat(Native(path).c_str(), &st) != 0)
        return stamp;
    stamp.size = static_cast<uint64_t>(st.st_size);
    stamp.writeTime = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
    stamp.exists = true;
    return stamp;
}

} // namespace base
