// One HTTP request and its reply (HttpOpenRequest and what follows).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <vector>

#include "framework/CStringA.h"

class CHttpFile {
public:
    explicit CHttpFile(HINTERNET request);
    ~CHttpFile();
    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

    // headers: "Name: value\r\n" lines; flags HTTP_ADDREQ_FLAG_*.
    BOOL AddRequestHeaders(LPCSTR headers, DWORD flags = HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    // Sends the request and reads the reply's headers; FALSE when the server cannot be
    // reached, refuses or resets the connection.
    BOOL SendRequest();
    BOOL QueryInfoStatusCode(DWORD& status);
    // The Content-Length header; FALSE when the reply has none (a chunked reply, for one).
    BOOL QueryContentLength(int64_t& length);
    // Reads up to count bytes of the body: the count read, 0 at its end, -1 on an error.
    int Read(void* buffer, int count);
    // The next line of the body without its CR LF; FALSE at the end of the body (or on an
    // error) when nothing was left to read.
    BOOL ReadString(CStringA& line);
    void Close();

private:
    HINTERNET m_request;
    std::vector<char> m_pending; // bytes read ahead by ReadString
    size_t m_pendingStart = 0;
};
