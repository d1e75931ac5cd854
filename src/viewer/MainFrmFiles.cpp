// Media files and recorded shows: transport-stream files through the engine, every other file
// through the file graph; the recordings folder as the recorded-shows list and popup; the open and
// close commands of the File menu.
#include "viewer/MainFrm.h"

#include <vector>

#include "viewer/ListRules.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/WideText.h"
#include "viewer/panels/CQORRecordedPanel.h"

namespace {
constexpr UINT kNoRecordedShows = 152;
constexpr UINT kMediaFile = 163;
constexpr UINT kNoChannelFound = 186;
constexpr UINT kFirstServicePeriod = 100;
constexpr DWORD kFirstServiceWait = 10000;
constexpr UINT kHideCursorAfterMenu = 2000;

CString Text(UINT id)
{
    return CString(LoadLocalizedString(id).c_str());
}

CString FileName(const CString& path)
{
    return viewer::ToCString(viewer::FileNameOf(viewer::ToU16(path.GetString())));
}
} // namespace

void CMainFrame::StopFile()
{
    if (m_mode != viewer::ModeFile)
        return;
    m_relay->FileStop();
    m_relay->FileSeekStart();
    m_relay->FilePause();
    base::CScopedLock ui(m_uiLock);
    m_display.SetControlButton(1, viewer::CmdPlayPause, L"play_button", true);
}

// Opening files -----------------------------------------------------------------------------------

void CMainFrame::OpenMediaFile(const CString& path)
{
    if (viewer::IsTransportStreamExtension(viewer::ToU16(GetFileExtension(path).GetString()))) {
        libDVB::CTSEngine* device = nullptr;
        if (!m_engine || FAILED(m_engine->CreateFileDevice(viewer::ToU16(path.GetString()), &device, nullptr)) ||
            !device)
            return;
        SetMode(viewer::ModeLive);
        {
            base::CScopedLock ui(m_uiLock);
            m_display.SetVideoStream(0);
            m_display.SetChannelName(CString());
            m_display.SetInfoText(0, CString());
            m_display.SetInfoText(1, CString());
        }
        // The file's tables are read only while it streams: its channels appear after the start.
        device->StartStreaming();
        AwaitFirstService(false);
        return;
    }
    bool hasVideo = false;
    if (FAILED(m_relay->FileOpen(path, &hasVideo)))
        return;
    if (FAILED(SetMode(viewer::ModeFile))) {
        // Live television plays: the file would play beside it, so it is closed again.
        m_relay->FileClose();
        return;
    }
    base::CScopedLock ui(m_uiLock);
    m_display.ShowBackground(!hasVideo);
    m_display.SetVideoStream(0);
    m_display.SetChannelName(Text(kMediaFile));
    m_display.SetInfoText(0, CString());
    m_display.SetInfoText(1, CString());
    m_display.SetInfoText(0, FileName(path));
}

void CMainFrame::AwaitFirstService(bool showControls)
{
    m_firstServiceStart = ::GetTickCount();
    m_firstServiceControls = showControls;
    SetTimer(TIMER_FIRST_SERVICE, kFirstServicePeriod);
    OnFirstServiceTimer();
}

void CMainFrame::OnFirstServiceTimer()
{
    if (!m_engine || m_mode != viewer::ModeLive) {
        KillTimer(TIMER_FIRST_SERVICE);
        return;
    }
    // A channel chosen meanwhile by the user ends the wait.
    CQORService* current = nullptr;
    m_engine->GetCurrentService(&current);
    if (current) {
        KillTimer(TIMER_FIRST_SERVICE);
        return;
    }
    DVBPlaybackCore::CServices::ServiceArray services;
    m_engine->GetRunningServices(services, false);
    if (!services.empty() && !services.front()->IsScrambled()) {
        KillTimer(TIMER_FIRST_SERVICE);
        TuneStart(services.front(), 0);
        if (m_firstServiceControls) {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowControls(true);
        }
        return;
    }
    if (::GetTickCount() - m_firstServiceStart < kFirstServiceWait)
        return;
    KillTimer(TIMER_FIRST_SERVICE);
    base::CScopedLock ui(m_uiLock);
    m_display.SetInfoText(0, Text(kNoChannelFound));
}

void CMainFrame::PlayRecordedFile(int index)
{
    StopAll();
    if (index < 0 || index >= m_recordedFiles.GetSize())
        return;
    const CString path = m_recordedFiles[index]; // OpenMediaFile must not see the array change
    OpenMediaFile(path);
}

void CMainFrame::OnFileOpen()
{
    KillTimer(TIMER_HIDE_CURSOR);
    ShowCursorAgain();
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, this);
    if (dialog.DoModal() == IDOK) {
        StopAll();
        OpenMediaFile(dialog.GetPathName());
    }
    if (m_maximised)
        SetTimer(TIMER_HIDE_CURSOR, kHideCursorAfterMenu);
}

void CMainFrame::OnFileClose()
{
    StopAll();
}

// Recorded shows ----------------------------------------------------------------------------------

void CMainFrame::FillRecordedList(const CString& folder)
{
    CArray<CString, const CString&> paths;
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW(folder + L"\\*.*", &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string name = viewer::ToU16(found.cFileName);
            if (viewer::IsRecordedShowEntry(name, found.dwFileAttributes))
                paths.Add(folder + L"\\" + found.cFileName);
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    SortByCreationTime(paths);
    std::vector<std::u16string> names;
    for (int i = 0; i < paths.GetSize(); ++i)
        names.push_back(viewer::FileNameOf(viewer::ToU16(paths[i].GetString())));

    base::CScopedLock ui(m_uiLock);
    m_recordedFiles.RemoveAll();
    for (int i = 0; i < paths.GetSize(); ++i)
        m_recordedFiles.Add(paths[i]);
    CQORRecordedPanel* panel = m_display.GetRecorded();
    if (!panel || !panel->m_list)
        return;
    OnScreenDisplay::ListBox& list = *panel->m_list;
    list.Clear();
    list.m_top = 0;
    list.m_selection = -1;
    for (size_t i = 0; i < names.size(); ++i)
        list.AddItem(std::u16string(), names[i], static_cast<int>(i), 0);
}

void CMainFrame::FillRecordedMenu(HMENU menu, const CString& folder)
{
    while (::GetMenuItemCount(menu) > 0)
        ::DeleteMenu(menu, 0, MF_BYPOSITION);
    FillRecordedList(folder);
    const int count = m_recordedFiles.GetSize() < viewer::kMaxRecordedMenuItems ? m_recordedFiles.GetSize()
                                                                                 : viewer::kMaxRecordedMenuItems;
    for (int i = 0; i < count; ++i)
        ::AppendMenuW(menu, MF_STRING, viewer::kFirstRecordedMenuId + i, FileName(m_recordedFiles[i]));
    if (count == 0)
        ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, Text(kNoRecordedShows));
}
