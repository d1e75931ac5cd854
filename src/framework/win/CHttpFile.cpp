#include "framework/win/CHttpFile.h"

#include <algorithm>
#include <cstring>

CHttpFile::CHttpFile(HINTERNET request) : m_request(request) {}

CHttpFile::~CHttpFile() { Close(); }

BOOL CHttpFile::AddRequestHeaders(LPCSTR headers, DWORD flags)
{
    return m_request && ::HttpAddRequestHeadersA(m_request, headers, static_cast<DWORD>(-1), flags);
}

BOOL CHttpFile::SendRequest()
{
    return m_request && ::HttpSendRequestA(m_request, nullptr, 0, nullptr, 0);
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& status)
{
    DWORD size = sizeof(status);
    status = 0;
    return m_request &&
           ::HttpQueryInfoA(m_request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
}

BOOL CHttpFile::QueryContentLength(int64_t& length)
{
    // Read as text: the numeric form is 32 bits and would fold a length above 4 GiB.
    char text[32] = {};
    DWORD size = sizeof(text) - 1;
    length = 0;
    if (!m_request || !::HttpQueryInfoA(m_request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return FALSE;
    int64_t value = 0;
    const char* p = text;
    while (*p == ' ')
        ++p;
    if (*p < '0' || *p > '9')
        return FALSE;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value > (INT64_MAX - 9) / 10)
            return FALSE;
        value = value * 10 + (*p - '0');
    }
    while (*p == ' ')
        ++p;
    if (*p)
        return FALSE;
    length = value;
    return TRUE;
}

int CHttpFile::Read(void* buffer, int count)
{
    if (!m_request || count < 0)
        return -1;
    char* out = static_cast<char*>(buffer);
    int taken = 0;
    if (m_pendingStart < m_pending.size()) {
        const size_t n = std::min(m_pending.size() - m_pendingStart, static_cast<size_t>(count));
        std::memcpy(out, m_pending.data() + m_pendingStart, n);
        m_pendingStart += n;
        taken = static_cast<int>(n);
        if (taken == count)
            return taken;
    }
    DWORD read = 0;
    if (!::InternetReadFile(m_request, out + taken, static_cast<DWORD>(count - taken), &read))
        return taken ? taken : -1;
    return taken + static_cast<int>(read);
}

BOOL CHttpFile::ReadString(CStringA& line)
{
    line.Empty();
    bool any = false;
    for (;;) {
        if (m_pendingStart >= m_pending.size()) {
            m_pending.assign(4096, '\0');
            m_pendingStart = 0;
            DWORD read = 0;
            if (!m_request || !::InternetReadFile(m_request, m_pending.data(), 4096, &read))
                read = 0;
            m_pending.resize(read);
            if (read == 0)
                break;
        }
        const char* start = m_pending.data() + m_pendingStart;
        const size_t available = m_pending.size() - m_pendingStart;
        const void* lf = std::memchr(start, '\n', available);
        const size_t take = lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) : available;
        line += CStringA(start, static_cast<int>(take));
        any = true;
        m_pendingStart += take;
        if (lf) {
            ++m_pendingStart;
            break;
        }
    }
    if (line.GetLength() > 0 && line.GetString()[line.GetLength() - 1] == '\r')
        line = line.Left(line.GetLength() - 1);
    return any;
}

void CHttpFile::Close()
{
    if (m_request) {
        ::InternetCloseHandle(m_request);
        m_request = nullptr;
    }
}
