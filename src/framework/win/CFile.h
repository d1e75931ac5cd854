// A binary file opened by ANSI path, for programs that work with 8-bit strings.
#pragma once

#include <windows.h>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000, // create, or truncate an existing file
        typeBinary = 0x8000,
    };

    CFile() = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE when the file cannot be opened; GetLastError tells why.
    BOOL Open(LPCSTR path, UINT flags);
    // FALSE unless every byte was written.
    BOOL Write(const void* data, UINT count);
    // The count read, 0 at the end, (UINT)-1 on an error.
    UINT Read(void* buffer, UINT count);
    void Close();
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

    static BOOL Remove(LPCSTR path) { return ::DeleteFileA(path); }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
