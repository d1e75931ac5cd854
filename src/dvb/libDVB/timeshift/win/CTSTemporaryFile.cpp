#include "dvb/libDVB/timeshift/win/CTSTemporaryFile.h"

namespace libDVB {

std::unique_ptr<CTSTemporaryFile> CTSTemporaryFile::Create(uint64_t length)
{
    wchar_t folder[1040];
    const DWORD n = GetTempPathW(1040, folder);
    if (n == 0 || n >= 1040)
        return nullptr;
    wchar_t name[MAX_PATH + 1];
    if (GetTempFileNameW(folder, L"qortspb", 0, name) == 0)
        return nullptr;
    // GetTempFileName made the file to reserve its name; it is opened again for us alone, and the
    // system deletes it when the last handle closes, even if the process dies.
    HANDLE file = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(name);
        return nullptr;
    }
    std::unique_ptr<CTSTemporaryFile> result(new CTSTemporaryFile(file, folder, name));
    if (!result->SetLength(length))
        return nullptr;
    return result;
}

CTSTemporaryFile::CTSTemporaryFile(HANDLE file, std::wstring folder, std::wstring path)
    : m_file(file), m_folder(std::move(folder)), m_path(std::move(path))
{
}

CTSTemporaryFile::~CTSTemporaryFile()
{
    CloseHandle(m_file);
    DeleteFileW(m_path.c_str()); // in case the file system ignored the delete-on-close flag
}

bool CTSTemporaryFile::ReadAt(uint64_t offset, uint8_t* buffer, uint32_t length)
{
    while (length > 0) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        if (!ReadFile(m_file, buffer, length, &got, &at) || got == 0)
            return false;
        buffer += got;
        offset += got;
        length -= got;
    }
    return true;
}

bool CTSTemporaryFile::WriteAt(uint64_t offset, const uint8_t* data, uint32_t length)
{
    while (length > 0) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD put = 0;
        if (!WriteFile(m_file, data, length, &put, &at) || put == 0)
            return false;
        data += put;
        offset += put;
        length -= put;
    }
    return true;
}

bool CTSTemporaryFile::SetLength(uint64_t length)
{
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(m_file, position, nullptr, FILE_BEGIN) && SetEndOfFile(m_file);
}

uint64_t CTSTemporaryFile::GetFreeBytes() const
{
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(m_folder.c_str(), &available, &total, &free))
        return 0;
    return available.QuadPart;
}

} // namespace libDVB
