#include "brenvo/win/CUpdateExchange.h"

#include "brenvo/DownloadBody.h"
#include "brenvo/UpdateRequest.h"
#include "brenvo/win/CbrenvoSetting.h"
#include "brenvo/win/RunAndWait.h"
#include "framework/win/CFile.h"

const char* const kCannotConnect = "Cannot connect";
const char* const kCannotContact = "Cannot contact update server.";
const char* const kNoUpdates = "There are no updates available.";
const char* const kUpdateFinished = "Update finished.";
const char* const kUpdateFailed = "Update failed.";
const char* const kErrorWritingFile = "Error writing file!";

namespace {

const char* const kHeaders = "Accept: text/*\r\nUser-Agent: Harvo-Update\r\n";

} // namespace

CUpdateExchange::CUpdateExchange(CUpdateUi& ui, INTERNET_PORT port)
    : m_ui(ui), m_port(port), m_session(nullptr, 1, INTERNET_OPEN_TYPE_PRECONFIG, 0)
{
    g_setting.Load();
}

CUpdateExchange::~CUpdateExchange() { RemoveSetupFile(); }

void CUpdateExchange::RemoveSetupFile()
{
    if (!m_setupFile.IsEmpty())
        CFile::Remove(m_setupFile);
    m_setupFile.Empty();
}

std::unique_ptr<CHttpFile> CUpdateExchange::Send(int opcode,
                                                 const std::vector<std::pair<const char*, CStringA>>& keys,
                                                 DWORD& status)
{
    status = 0;
    if (!m_connection)
        return nullptr;
    std::unique_ptr<CHttpFile> file(
        m_connection->OpenRequest("GET", UpdateObjectPath(opcode, keys), INTERNET_FLAG_EXISTING_CONNECT));
    if (!file)
        return nullptr;
    file->AddRequestHeaders(kHeaders, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    // A refused or reset connection fails here: the caller tells the user and the program goes on.
    if (!file->SendRequest() || !file->QueryInfoStatusCode(status) || status != 200)
        return nullptr;
    return file;
}

void CUpdateExchange::OnCheckForUpdates(const CStringA& account, const CStringA& password)
{
    m_connection.reset();
    g_setting.Load();
    m_connection.reset(m_session.GetHttpConnection(g_setting.m_host, INTERNET_FLAG_DONT_CACHE, m_port));
    if (!m_connection) {
        m_ui.ShowMessage(kCannotConnect);
        return;
    }
    DWORD status = 0;
    {
        std::unique_ptr<CHttpFile> reply = Send(kOpChallenge, {}, status);
        if (!reply) {
            m_ui.ShowStatus(kCannotContact);
            return;
        }
        CStringA line;
        if (reply->ReadString(line) && !line.IsEmpty())
            m_challenge = line;
    }
    if (!Send(kOpLogin, {{"login", account}, {"pass", LoginHash(password, m_challenge)}}, status)) {
        m_ui.ShowStatus(kCannotContact);
        return;
    }
    if (!FetchVersions()) {
        m_ui.ShowStatus(kCannotContact);
        return;
    }
    OnContinue();
}

BOOL CUpdateExchange::FetchVersions()
{
    m_versions.clear();
    DWORD status = 0;
    std::unique_ptr<CHttpFile> reply = Send(kOpVersions, {}, status);
    if (!reply)
        return status != 0; // an answer other than 200 lists nothing

    CStringA line;
    while (reply->ReadString(line)) {
        CVersionEntry entry;
        if (entry.Parse(line))
            m_versions.push_back(entry);
        else if (m_versions.empty())
            return FALSE; // the newest cannot be read: the next line is no stand-in for it
    }
    return TRUE;
}

void CUpdateExchange::OnContinue()
{
    g_setting.Load();
    // The script lists the newest first and may roll back on purpose: any other id installs.
    if (!m_versions.empty() && static_cast<DWORD>(m_versions.front().m_versionId) != g_setting.m_versionId)
        DownloadUpdate(m_versions.front().m_versionId);
    else
        m_ui.ShowStatus(kNoUpdates);
}

void CUpdateExchange::DownloadUpdate(int versionId)
{
    if (!m_connection)
        return;
    CStringA id;
    id.Format("%d", versionId);
    DWORD status = 0;
    std::unique_ptr<CHttpFile> reply = Send(kOpDownload, {{"versionID", id}}, status);
    if (!reply) {
        m_ui.ShowStatus(kCannotContact);
        return;
    }
    int64_t total = 0;
    if (!reply->QueryContentLength(total) || total <= 0) {
        // Without a declared length (a chunked reply) a cut-off body cannot be told from a
        // whole one: nothing unverified is run.
        m_ui.ShowStatus(kUpdateFailed);
        return;
    }
    const CStringA path = SetupFilePath();
    CFile file;
    if (path.IsEmpty() || !file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
        m_ui.ShowMessage(kErrorWritingFile);
        m_ui.ShowStatus(kUpdateFailed);
        return;
    }
    m_setupFile = path;
    m_ui.ShowDownload(true);
    DownloadIo io;
    io.read = [&reply](void* buffer, int size) { return reply->Read(buffer, size); };
    io.write = [&file](const void* data, int size) { return file.Write(data, static_cast<UINT>(size)) != FALSE; };
    io.progress = [this](int position) { m_ui.SetProgress(position); };
    const bool whole = DownloadBody(total, io);
    file.Close();
    if (!whole) {
        RemoveSetupFile();
        m_ui.ShowStatus(kUpdateFailed);
        m_ui.ShowDownload(false);
        return;
    }
    m_ui.SetProgress(100);
    const DWORD code = RunAndWait(path);
    if (code == 0) {
        ReportInstall();
        g_setting.m_versionId = static_cast<DWORD>(versionId);
        g_setting.Save();
        m_ui.ShowStatus(kUpdateFinished);
        RemoveSetupFile();
        StartViewer();
        m_ui.Quit();
    } else {
        RemoveSetupFile();
        m_ui.ShowStatus(kUpdateFailed);
    }
    m_ui.ShowDownload(false);
}

void CUpdateExchange::ReportInstall()
{
    DWORD status = 0;
    Send(kOpInstalled, {}, status);
}
