// The General page: start-up switches, the autostart entry, playback quality and the interface
// language, stored as the viewer's profile values.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/win/CButton.h"
#include "framework/win/CComboBox.h"
#include "framework/win/CDialog.h"
#include "framework/win/CFont.h"
#include "framework/win/CStatic.h"
#include "plintor/win/CLoadSave.h"

class CPage_General : public CDialog, public CLoadSave {
public:
    // view is told to relabel itself after a language change.
    explicit CPage_General(CLoadSave* view);

    void Save() override;
    void Load() override;
    void UpdateTexts() override {}

    BOOL OnInitDialog() override;
    const std::vector<LANGID>& GetLanguages() const { return m_languages; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void ApplyLanguage();
    void OnUpdateNow() { Save(); }

    DECLARE_MESSAGE_MAP()

private:
    std::vector<LANGID> m_languages;
    CComboBox m_language;
    CStatic m_headingStartup;
    CStatic m_headingGeneral;
    CStatic m_labelLanguage;
    CStatic m_labelPreferred;
    CButton m_autostart;
    CButton m_fullscreen;
    CButton m_systray;
    CButton m_autoupdate;
    CButton m_doubleFramerate;
    CButton m_updateNow;
    CFont m_headingFont;
    CLoadSave* m_view;
};
