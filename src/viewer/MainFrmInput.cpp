// The keyboard, the mouse wheel, the multimedia keys and the remote control: each turns into an
// action of the view that owns the keys or a command of the frame.
#include "viewer/MainFrm.h"

#include <cstddef>

#include "viewer/KeyTables.h"
#include "viewer/panels/CQORChannelsPanel.h"
#include "viewer/panels/CQOREPGPanel.h"
#include "viewer/panels/CQORMenu.h"
#include "viewer/panels/CQORRecordedPanel.h"
#include "viewer/panels/CQORSwitcherPanel.h"
#include "viewer/panels/CQORTunePanel.h"

void CMainFrame::OpenMenuFromKeys(bool toggle)
{
    m_display.ShowControls(true);
    if (toggle)
        PostCommand(viewer::CmdMenu);
    else
        m_display.ShowMenu(true);
    if (CQORMenu* menu = m_display.GetMenu()) {
        m_display.SetFocusChild(menu);
        menu->FocusFirstItem();
    }
}

void CMainFrame::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    const bool control = ::GetAsyncKeyState(VK_LCONTROL) != 0 || ::GetAsyncKeyState(VK_RCONTROL) != 0;
    if (control) {
        if (const uint32_t command = viewer::ControlKeyCommand(key)) {
            PostCommand(static_cast<int>(command));
            return;
        }
    }
    // The key tables change only the display; the commands they name reach the engine after the
    // lock is released, as posted messages.
    uint32_t command = 0;
    bool teletextKey = false;
    {
        base::CScopedLock ui(m_uiLock);
        viewer::ShownViews shown;
        shown.tune = m_display.IsTuneShown();
        shown.channelList = m_display.IsChannelListShown();
        shown.recorded = m_display.IsRecordedShown();
        shown.teletext = m_display.IsTeletextShown();
        shown.guide = m_display.IsGuideShown();
        shown.switcher = m_display.IsSwitcherShown();
        shown.menu = m_display.IsMenuShown();
        const viewer::KeyView view = viewer::SelectKeyView(shown);
        viewer::KeyContext context;
        context.controlsShown = m_display.IsControlsShown();
        switch (view) {
        case viewer::KeyView::Tune:
            if (CQORTunePanel* tune = m_display.GetTune()) {
                if (tune->m_channelList)
                    ListKeyDown(*tune->m_channelList, static_cast<int>(key));
                context.tuneNumberEntered = tune->GetNumber() != 0;
            }
            break;
        case viewer::KeyView::ChannelList:
            if (CQORChannelsPanel* channels = m_display.GetChannels(); channels && channels->m_list)
                ListKeyDown(*channels->m_list, static_cast<int>(key));
            context.kind = m_channelListKind;
            break;
        case viewer::KeyView::Recorded:
            if (CQORRecordedPanel* recorded = m_display.GetRecorded(); recorded && recorded->m_list)
                ListKeyDown(*recorded->m_list, static_cast<int>(key));
            break;
        case viewer::KeyView::Guide:
            if (CQOREPGPanel* guide = m_display.GetGuide(); guide && guide->m_guide) {
                guide->m_guide->OnKey(key, repeat, flags);
                guide->KeepCursorVisible();
            }
            context.kind = m_guideListKind;
            break;
        case viewer::KeyView::Switcher:
            if (CQORSwitcherPanel* switcher = m_display.GetSwitcher(); switcher && switcher->m_list)
                ListKeyDown(*switcher->m_list, static_cast<int>(key));
            break;
        case viewer::KeyView::Menu:
            if (CQORMenu* menu = m_display.GetMenu()) {
                if (m_display.GetFocusedChild() != menu)
                    m_display.SetFocusChild(menu);
                menu->OnKey(key);
            }
            break;
        case viewer::KeyView::Teletext:
        case viewer::KeyView::Idle:
            break;
        }
        const viewer::KeyAction action = viewer::ViewKeyAction(view, key, context);
        switch (action.step) {
        case viewer::KeyStep::None:
            break;
        case viewer::KeyStep::Command:
            command = action.command;
            break;
        case viewer::KeyStep::CloseView:
        case viewer::KeyStep::CloseThenMenu:
            if (view == viewer::KeyView::ChannelList)
                m_display.ShowChannelList(false);
            else if (view == viewer::KeyView::Recorded)
                m_display.ShowRecorded(false);
            else if (view == viewer::KeyView::Teletext)
                m_display.ShowTeletext(false);
            else if (view == viewer::KeyView::Guide)
                m_display.ShowGuide(false);
            else if (view == viewer::KeyView::Switcher)
                m_display.ShowSwitcher(false);
            if (action.step == viewer::KeyStep::CloseThenMenu)
                OpenMenuFromKeys(false);
            break;
        case viewer::KeyStep::MenuToggle:
            OpenMenuFromKeys(true);
            break;
        case viewer::KeyStep::TuneErase:
            m_display.TuneDigit(-1);
            break;
        case viewer::KeyStep::TuneCloseNow:
            m_display.SetTuneTimeout(1);
            break;
        case viewer::KeyStep::TuneKeepOpen:
            m_display.SetTuneTimeout(-1);
            break;
        case viewer::KeyStep::ShowControls:
            m_display.ShowControls(true);
            break;
        case viewer::KeyStep::HideControls:
            m_display.ShowControls(false);
            m_display.ShowTopBars(false);
            break;
        case viewer::KeyStep::HideMenu:
            m_display.ShowMenu(false);
            m_display.ShowTopBars(false);
            m_display.ShowControls(false);
            break;
        }
        teletextKey = view == viewer::KeyView::Teletext && viewer::TeletextTakesKeyDown(key);
    }
    // The tune list of an erased digit and the item Enter chose are there before the next key.
    RunPendingInput();
    // The teletext engine takes its own locks: it is called with the frame's released.
    if (teletextKey && m_engine)
        m_engine->TeletextKeyDown(static_cast<int32_t>(key));
    if (command)
        PostCommand(static_cast<int>(command));
    if (const uint32_t volume = viewer::VolumeKeyCommand(key))
        PostCommand(static_cast<int>(volume));
    CFrameWnd::OnKeyDown(key, repeat, flags);
}

BOOL CMainFrame::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    bool used = false;
    {
        base::CScopedLock ui(m_uiLock);
        ScreenToClient(&point);
        used = m_display.OnMouseWheel(flags, delta, point.x, point.y);
    }
    if (!used)
        PostCommand(delta < 1 ? viewer::CmdVolumeDown : viewer::CmdVolumeUp);
    return TRUE;
}

void CMainFrame::OnRawInput(WPARAM code, LPARAM rawInputHandle, LRESULT* result)
{
    *result = 1;
    if (GET_RAWINPUT_CODE_WPARAM(code) != RIM_INPUT)
        return; // only what arrived while the viewer was in front
    alignas(8) BYTE buffer[1024];
    UINT size = sizeof(buffer);
    const UINT read = ::GetRawInputData(reinterpret_cast<HRAWINPUT>(rawInputHandle), RID_INPUT, buffer, &size,
                                        sizeof(RAWINPUTHEADER));
    if (read == 0 || read == static_cast<UINT>(-1) || read > sizeof(buffer))
        return;
    uint32_t button = 0;
    if (!viewer::ParseRemoteReport(buffer, read, sizeof(RAWINPUTHEADER), button))
        return;
    static_assert(offsetof(RAWINPUT, data.hid.bRawData) == sizeof(RAWINPUTHEADER) + 8,
                  "the reports follow the header and the two HID counts");
    const uint32_t key = viewer::RemoteButtonKey(button);
    if (key == viewer::kRemoteClose)
        PostMessage(WM_CLOSE);
    else if (key)
        OnKeyDown(key, 0, 0);
}

void CMainFrame::OnAppCommand(int command)
{
    const viewer::AppCommandAction action = viewer::MapAppCommand(static_cast<uint32_t>(command));
    if (action.key)
        OnKeyDown(action.key, 0, 0);
    else if (action.command)
        PostCommand(static_cast<int>(action.command));
}
