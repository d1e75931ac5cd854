#include "framework/win/CHttpConnection.h"

#include "framework/win/CHttpFile.h"

CHttpConnection::CHttpConnection(HINTERNET connection, DWORD flags, DWORD_PTR context)
    : m_connection(connection), m_flags(flags), m_context(context)
{
}

CHttpConnection::~CHttpConnection() { Close(); }

CHttpFile* CHttpConnection::OpenRequest(LPCSTR verb, LPCSTR object, DWORD flags)
{
    if (!m_connection)
        return nullptr;
    HINTERNET request =
        ::HttpOpenRequestA(m_connection, verb, object, "HTTP/1.1", nullptr, nullptr, flags | m_flags, m_context);
    return request ? new CHttpFile(request) : nullptr;
}

void CHttpConnection::Close()
{
    if (m_connection) {
        ::InternetCloseHandle(m_connection);
        m_connection = nullptr;
    }
}
