// WinInet access for programs that speak HTTP with 8-bit strings: the session, its connections
// to one server and their requests. Failures come back as null objects and FALSE results, never
// as exceptions; GetLastError holds WinInet's error code.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "framework/CStringA.h"

class CHttpConnection;

class CInternetSession {
public:
    // agent null: the program's file name. accessType: INTERNET_OPEN_TYPE_PRECONFIG takes the
    // system's proxy settings.
    explicit CInternetSession(LPCSTR agent = nullptr, DWORD_PTR context = 1,
                              DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG, DWORD flags = 0);
    ~CInternetSession();
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // A connection object for server:port (WinInet connects only when a request is sent); null
    // when the session or the handle could not be made. The caller owns it.
    CHttpConnection* GetHttpConnection(LPCSTR server, DWORD flags, INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT);
    void Close();

    HINTERNET Handle() const { return m_session; }
    DWORD_PTR Context() const { return m_context; }

private:
    HINTERNET m_session = nullptr;
    DWORD_PTR m_context;
};
