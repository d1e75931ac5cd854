// The exchange with the update script behind the form's "Check for updates": challenge, login,
// version list, download of the setup, its run and the bookkeeping after it. One thread, with
// synchronous requests; the form is reached only through CUpdateUi.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "brenvo/CVersionEntry.h"
#include "framework/CStringA.h"
#include "framework/win/CHttpConnection.h"
#include "framework/win/CHttpFile.h"
#include "framework/win/CInternetSession.h"

// What the exchange shows on the form.
class CUpdateUi {
public:
    virtual ~CUpdateUi() = default;
    // Sets the status text (1010) and shows it.
    virtual void ShowStatus(const char* text) = 0;
    virtual void ShowMessage(const char* text) = 0;
    // Shows the label "Downloading ..." (repainted at once) and the progress bar, or hides both.
    virtual void ShowDownload(bool shown) = 0;
    virtual void SetProgress(int position) = 0;
    // Ends the program through its message loop with exit code 0.
    virtual void Quit() = 0;
};

// The texts the exchange shows.
extern const char* const kCannotConnect;
extern const char* const kCannotContact;
extern const char* const kNoUpdates;
extern const char* const kUpdateFinished;
extern const char* const kUpdateFailed;
extern const char* const kErrorWritingFile;

class CUpdateExchange {
public:
    explicit CUpdateExchange(CUpdateUi& ui, INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT);
    // Deletes the setup file if this exchange wrote it and it is still there.
    ~CUpdateExchange();

    // The whole exchange for the typed account name and password.
    void OnCheckForUpdates(const CStringA& account, const CStringA& password);
    // Sends opcode 3 and, on status 200, keeps the lines that parse, in reply order. FALSE
    // when the script could not be reached at all or its first line, the newest, cannot be read.
    BOOL FetchVersions();
    // Installs the newest (first) version when its id differs from the installed one.
    void OnContinue();
    void DownloadUpdate(int versionId);
    // Opcode 7, not read.
    void ReportInstall();

    const std::vector<CVersionEntry>& Versions() const { return m_versions; }
    const CStringA& Challenge() const { return m_challenge; }

private:
    // A sent request for the opcode with the exchange's headers; null when it could not be
    // opened or sent (status 0) or when its status is not 200 (status set).
    std::unique_ptr<CHttpFile> Send(int opcode, const std::vector<std::pair<const char*, CStringA>>& keys,
                                    DWORD& status);
    void RemoveSetupFile();

    CUpdateUi& m_ui;
    INTERNET_PORT m_port;
    CInternetSession m_session;
    std::unique_ptr<CHttpConnection> m_connection;
    CStringA m_challenge;
    std::vector<CVersionEntry> m_versions;
    CStringA m_setupFile; // set while a file written by this exchange may exist
};
