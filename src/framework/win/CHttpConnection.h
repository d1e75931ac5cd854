// One server of a CInternetSession (InternetConnect).
#pragma once

#include <windows.h>
#include <wininet.h>

class CHttpFile;

class CHttpConnection {
public:
    CHttpConnection(HINTERNET connection, DWORD flags, DWORD_PTR context);
    ~CHttpConnection();
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    // A request for object (path and query) with verb, HTTP/1.1; the connection's flags are
    // added to flags. Null when WinInet refuses it. The caller owns it.
    CHttpFile* OpenRequest(LPCSTR verb, LPCSTR object, DWORD flags = 0);
    void Close();

private:
    HINTERNET m_connection;
    DWORD m_flags;
    DWORD_PTR m_context;
};
