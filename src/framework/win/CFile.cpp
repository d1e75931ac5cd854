#include "framework/win/CFile.h"

BOOL CFile::Open(LPCSTR path, UINT flags)
{
    Close();
    DWORD access = GENERIC_READ;
    if (flags & modeWrite)
        access = GENERIC_WRITE;
    else if (flags & modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    const DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_handle = ::CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
}

BOOL CFile::Write(const void* data, UINT count)
{
    if (!IsOpen())
        return FALSE;
    DWORD written = 0;
    return ::WriteFile(m_handle, data, count, &written, nullptr) && written == count;
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD read = 0;
    if (!IsOpen() || !::ReadFile(m_handle, buffer, count, &read, nullptr))
        return static_cast<UINT>(-1);
    return read;
}

void CFile::Close()
{
    if (IsOpen()) {
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
}
