#include "framework/win/CInternetSession.h"

#include "framework/win/CHttpConnection.h"

namespace {

CStringA ProgramName()
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CStringA name(path, static_cast<int>(length < MAX_PATH ? length : 0));
    int start = 0;
    for (int i = 0; i < name.GetLength(); ++i)
        if (name.GetString()[i] == '\\' || name.GetString()[i] == '/')
            start = i + 1;
    name = name.Mid(start);
    const int dot = name.Find('.');
    return dot > 0 ? name.Left(dot) : name;
}

} // namespace

CInternetSession::CInternetSession(LPCSTR agent, DWORD_PTR context, DWORD accessType, DWORD flags)
    : m_context(context)
{
    const CStringA name = agent ? CStringA(agent) : ProgramName();
    m_session = ::InternetOpenA(name, accessType, nullptr, nullptr, flags);
}

CInternetSession::~CInternetSession() { Close(); }

CHttpConnection* CInternetSession::GetHttpConnection(LPCSTR server, DWORD flags, INTERNET_PORT port)
{
    if (!m_session)
        return nullptr;
    HINTERNET connection =
        ::InternetConnectA(m_session, server, port, nullptr, nullptr, INTERNET_SERVICE_HTTP, flags, m_context);
    if (!connection)
        return nullptr;
    return new CHttpConnection(connection, flags, m_context);
}

void CInternetSession::Close()
{
    if (m_session) {
        ::InternetCloseHandle(m_session);
        m_session = nullptr;
    }
}
