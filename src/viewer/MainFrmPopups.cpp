// The top menu bar's File, View and Channels popups: real platform menus opened at the tab that
// sent the command, with the cursor shown while they are up.
#include "viewer/MainFrm.h"

#include <memory>

#include "viewer/ListRules.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/WideText.h"

namespace {
constexpr UINT kMainMenu = 128;
constexpr UINT kRecordedShows = 150;
constexpr UINT kHideCursorAfterMenu = 2000;
constexpr UINT kFirstNetworkItem = 39000;
} // namespace

UINT CMainFrame::TrackAtCommandPoint(HMENU popup, UINT flags)
{
    KillTimer(TIMER_HIDE_CURSOR);
    ShowCursorAgain();
    POINT point;
    {
        base::CScopedLock ui(m_uiLock);
        m_display.ShowMenu(false);
        point.x = static_cast<LONG>(m_display.GetCommandX());
        point.y = static_cast<LONG>(m_display.GetCommandY());
    }
    ::ClientToScreen(m_hWnd, &point);
    // A menu opened from a posted command needs its owner in front to take the keys.
    ::SetForegroundWindow(m_hWnd);
    return static_cast<UINT>(::TrackPopupMenu(popup, flags, point.x, point.y, 0, m_hWnd, nullptr));
}

void CMainFrame::OpenPopup(int id)
{
    CMenu bar;
    if (!bar.LoadMenu(kMainMenu))
        return;
    CMenu* popup = bar.GetSubMenu(id - viewer::CmdFilePopup);
    if (!popup)
        return;
    if (id == viewer::CmdFilePopup) {
        FillFileMenu(*popup);
        // The "Recorded shows" line becomes a popup of the recordings.
        HMENU recorded = ::CreatePopupMenu();
        FillRecordedMenu(recorded, m_recPath);
        popup->RemoveMenu(3, MF_BYPOSITION);
        popup->InsertMenu(3, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(recorded),
                          CString(LoadLocalizedString(kRecordedShows).c_str()));
        const UINT chosen = TrackAtCommandPoint(*popup, TPM_RETURNCMD | TPM_NOANIMATION);
        if (chosen == 0) {
            // Nothing chosen: the pointer handling runs again, which re-arms the leave timer.
            POINT cursor;
            ::GetCursorPos(&cursor);
            ::ScreenToClient(m_hWnd, &cursor);
            OnMouseMove(0, CPoint(cursor.x, cursor.y));
        } else if (chosen == ID_FILE_OPEN_MEDIA) {
            OnFileOpen();
        } else if (chosen == ID_FILE_CLOSE_MEDIA) {
            StopAll();
        } else if (chosen == ID_FILE_EXIT) {
            PostClose();
        } else if (chosen >= static_cast<UINT>(viewer::kFirstRecordedMenuId)) {
            PlayRecordedFile(static_cast<int>(chosen) - viewer::kFirstRecordedMenuId);
        }
    } else if (id == viewer::CmdViewPopup) {
        FillViewMenu(*popup);
        // The choice arrives as an ordinary command of the window.
        TrackAtCommandPoint(*popup, TPM_NOANIMATION);
    } else {
        RebuildChannelMenu(*popup);
        const UINT chosen = TrackAtCommandPoint(*popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_NOANIMATION);
        if (chosen != 0) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_DATA;
            if (::GetMenuItemInfoW(*popup, chosen, FALSE, &info)) {
                if (chosen >= kFirstNetworkItem)
                    ChooseNetworkSource(static_cast<uint16_t>(info.dwItemData));
                else
                    ChooseChannelNode(reinterpret_cast<const CChannelNode*>(info.dwItemData));
            }
        }
    }
    if (m_maximised)
        SetTimer(TIMER_HIDE_CURSOR, kHideCursorAfterMenu);
}

void CMainFrame::ChooseNetworkSource(uint16_t announcementId)
{
    const std::unique_ptr<libDVB_EthernetDevice::CNetworkAnnouncement> announcement =
        m_sapParser.GetAnnouncement(announcementId);
    if (!announcement || !m_engine)
        return;
    StopAll();
    SetMode(viewer::ModeLive);
    const uint32_t a = announcement->address;
    CString group;
    group.Format(L"%d.%d.%d.%d", static_cast<int>(a >> 24), static_cast<int>((a >> 16) & 0xFF),
                 static_cast<int>((a >> 8) & 0xFF), static_cast<int>(a & 0xFF));
    libDVB::CTSEngine* device = nullptr;
    m_engine->CreateMulticastDevice(viewer::ToU16(group.GetString()), announcement->port, &device, nullptr);
    m_relay->FileSetVolume(m_volume);
    m_relay->LiveSetVolume(m_volume);
    if (!device)
        return;
    // The group's tables arrive only while it streams: its channels appear after the start.
    device->StartStreaming();
    AwaitFirstService(true);
}

void CMainFrame::ChooseChannelNode(const CChannelNode* node)
{
    if (!node || node->m_serviceId == 0 || node->m_transportStreamId == 0)
        return;
    if (m_mode == viewer::ModeFile)
        StopAll();
    SetMode(viewer::ModeLive);
    {
        base::CScopedLock ui(m_uiLock);
        m_display.SetInfoText(0, CString());
        m_display.SetInfoText(1, CString());
        m_display.ShowControls(true);
    }
    TuneStart(node->m_serviceId, node->m_transportStreamId, static_cast<int32_t>(node->m_number));
}
