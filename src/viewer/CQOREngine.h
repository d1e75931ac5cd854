// The channel engine the main frame owns and its callback interface towards the user interface. The
// engine (services, tuning, guide data, teletext) comes with the reception library; the frame
// already holds it and closes it down before its other members go.
#pragma once

#include "framework/CString.h"

class CQOREngineUserInterface {
public:
    virtual ~CQOREngineUserInterface() = default;
};

// Draws teletext pages; in place of a page it draws one of two messages.
class CTeletextRenderer {
public:
    void SetMessages(const CString& pageNotAvailable, const CString& noTeletext)
    {
        m_pageNotAvailable = pageNotAvailable;
        m_noTeletext = noTeletext;
    }
    const CString& GetPageNotAvailable() const { return m_pageNotAvailable; }
    const CString& GetNoTeletext() const { return m_noTeletext; }

private:
    CString m_pageNotAvailable;
    CString m_noTeletext;
};

class CQOREngine {
public:
    CQOREngine(CQOREngineUserInterface* ui, const CString& appFolder) : m_ui(ui), m_appFolder(appFolder) {}
    virtual ~CQOREngine() = default;
    CQOREngine(const CQOREngine&) = delete;
    CQOREngine& operator=(const CQOREngine&) = delete;

    // Stops every service and device; nothing calls back into the user interface afterwards.
    void CloseDown() { m_ui = nullptr; }
    bool IsClosed() const { return m_ui == nullptr; }
    // The teletext view's keys (VK_NUMPAD0..9 for digits).
    void TeletextKeyDown(unsigned key) {}
    CTeletextRenderer& GetTeletextRenderer() { return m_teletext; }

private:
    CQOREngineUserInterface* m_ui;
    CString m_appFolder;
    CTeletextRenderer m_teletext;
};
