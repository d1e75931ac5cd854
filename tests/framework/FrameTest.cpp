// A frame made by LoadFrame, run by the application's message loop: user and registered
// messages, command ranges, an accelerator typed with SendInput, and popup update handlers.
#include <gtest/gtest.h>

#include "TestApp.h"
#include "TestResources.h"

FrameRecord g_record;
UINT g_msgTestRegistered = ::RegisterWindowMessageW(L"TolvikFrameworkTest");
CTestApp g_app;

namespace {

const UINT kMsgStartLast = WM_USER + 1004;  // 2028
const UINT kMsgNextChannel = WM_USER + 2000; // 3024, answered by the OnWndMsg override
const UINT kMsgRunMenus = WM_USER + 1;
const UINT_PTR kDeadlineTimer = 7;

void Type(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

class CTestFrame : public CFrameWnd {
public:
    ~CTestFrame() override { g_record.deleted = true; }

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == kMsgNextChannel) {
            *result = 55;
            return TRUE;
        }
        return CFrameWnd::OnWndMsg(message, wParam, lParam, result);
    }

    int OnCreate(LPCREATESTRUCTW cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        g_record.created = true;
        SetTimer(kDeadlineTimer, 20000);
        return 0;
    }

    LRESULT OnUserMessage(WPARAM, LPARAM)
    {
        g_record.userMessages.push_back(GetCurrentMessage());
        return 0;
    }

    LRESULT OnRegistered(WPARAM wParam, LPARAM lParam)
    {
        g_record.registeredParams.push_back(wParam + static_cast<WPARAM>(lParam));
        return 0;
    }

    LRESULT OnRunMenus(WPARAM, LPARAM)
    {
        // Each popup is opened for real and closed by an Escape typed beforehand; the items'
        // states are read back afterwards.
        if (::GetForegroundWindow() != m_hWnd)
            ::SetForegroundWindow(m_hWnd);
        g_record.foregroundForInput = ::GetForegroundWindow() == m_hWnd;
        CMenu* bar = CMenu::FromHandle(::GetMenu(m_hWnd));
        CMenu* file = bar->GetSubMenu(0);
        CMenu* view = bar->GetSubMenu(1);
        CRect rect;
        GetWindowRect(rect);
        Type(VK_ESCAPE);
        g_record.fileChoice = file->TrackPopupMenu(TPM_RETURNCMD | TPM_NOANIMATION, rect.left + 20, rect.top + 20, this);
        for (int i = 0; i < 4; ++i)
            g_record.fileStates[i] = file->GetMenuState(i, MF_BYPOSITION);
        Type(VK_ESCAPE);
        g_record.viewChoice = view->TrackPopupMenu(TPM_RETURNCMD | TPM_NOANIMATION, rect.left + 20, rect.top + 20, this);
        for (int i = 0; i < 5; ++i)
            g_record.viewStates[i] = view->GetMenuState(i, MF_BYPOSITION);
        Type(VK_F5); // the accelerator, for the message loop
        return 0;
    }

    void OnFileOpen()
    {
        ++g_record.openFileCommands;
        if (HIWORD(GetCurrentWParam()) == 1)
            ++g_record.acceleratorCommands;
        PostMessage(WM_CLOSE);
    }

    void OnChannel(UINT id) { g_record.rangeCommands.push_back(id); }

    void OnUpdateFileClose(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateOnTop(CCmdUI* ui) { ui->SetCheck(1); }
    void OnUpdateChannel(CCmdUI* ui)
    {
        ui->Enable(TRUE);
        ui->SetCheck(ui->m_nID == 40001);
    }

    BOOL OnCopyData(CWnd* sender, COPYDATASTRUCT* data)
    {
        g_record.copyDataSenderKnown = sender == this;
        const wchar_t* text = static_cast<const wchar_t*>(data->lpData);
        g_record.copyData.assign(text, text + data->cbData / sizeof(wchar_t));
        return data->dwData == static_cast<ULONG_PTR>(-1);
    }

    void OnTimer(UINT_PTR id)
    {
        if (id == kDeadlineTimer) {
            g_record.timedOut = true;
            PostMessage(WM_CLOSE);
        }
    }

    void OnClose()
    {
        g_record.closed = true;
        CFrameWnd::OnClose();
    }

    DECLARE_MESSAGE_MAP()

private:
    // The message being handled, as the handlers above see it.
    static UINT GetCurrentMessage() { return s_message; }
    static WPARAM GetCurrentWParam() { return s_wParam; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        UINT savedMessage = s_message;
        WPARAM savedWParam = s_wParam;
        s_message = message;
        s_wParam = wParam;
        LRESULT result = CFrameWnd::WindowProc(message, wParam, lParam);
        s_message = savedMessage;
        s_wParam = savedWParam;
        return result;
    }

    static UINT s_message;
    static WPARAM s_wParam;
};

UINT CTestFrame::s_message = 0;
WPARAM CTestFrame::s_wParam = 0;

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_COPYDATA()
    ON_WM_CLOSE()
    ON_MESSAGE(kMsgStartLast, OnUserMessage)
    ON_MESSAGE(WM_USER + 1005, OnUserMessage)
    ON_MESSAGE(kMsgRunMenus, OnRunMenus)
    ON_REGISTERED_MESSAGE(g_msgTestRegistered, OnRegistered)
    ON_COMMAND(ID_FILE_OPEN_MEDIA, OnFileOpen)
    ON_COMMAND_RANGE(40000, 42999, OnChannel)
    ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE_MEDIA, OnUpdateFileClose)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ON_TOP, OnUpdateOnTop)
    ON_UPDATE_COMMAND_UI_RANGE(40000, 42999, OnUpdateChannel)
END_MESSAGE_MAP()

} // namespace

BOOL CTestApp::InitInstance()
{
    CTestFrame* frame = new CTestFrame;
    m_pMainWnd = frame;
    if (!frame->LoadFrame(IDR_TEST_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        m_pMainWnd = nullptr;
        return FALSE;
    }
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    ::SetForegroundWindow(frame->m_hWnd);

    g_record.routedResult = frame->SendMessage(kMsgNextChannel);
    const wchar_t arguments[] = L"/rec\0" L"4097\0";
    COPYDATASTRUCT data = { static_cast<ULONG_PTR>(-1), sizeof(arguments) - sizeof(wchar_t),
                            const_cast<wchar_t*>(arguments) };
    frame->SendMessage(WM_COPYDATA, reinterpret_cast<WPARAM>(frame->m_hWnd), reinterpret_cast<LPARAM>(&data));

    frame->PostMessage(kMsgStartLast);
    frame->PostMessage(g_msgTestRegistered, 7, 8);
    frame->PostMessage(WM_USER + 1005);
    frame->PostMessage(WM_COMMAND, 40000);
    frame->PostMessage(WM_COMMAND, 42999);
    frame->PostMessage(WM_COMMAND, 43000); // outside the range: nobody answers
    frame->PostMessage(kMsgRunMenus);
    return TRUE;
}

namespace {

TEST(FrameTest, MessagesCommandsAcceleratorsAndMenuStates)
{
    int exitCode = AfxWinMain(::GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(L""), SW_SHOW);
    EXPECT_EQ(0, exitCode);
    EXPECT_FALSE(g_record.timedOut);
    EXPECT_TRUE(g_record.created);
    EXPECT_TRUE(g_record.closed);
    EXPECT_TRUE(g_record.deleted);   // PostNcDestroy deleted the frame
    EXPECT_EQ(nullptr, AfxGetMainWnd());

    EXPECT_TRUE(g_record.foregroundForInput); // typed keys reach this thread only then
    EXPECT_EQ(55, g_record.routedResult);
    EXPECT_TRUE(g_record.copyDataSenderKnown);
    EXPECT_EQ((std::vector<wchar_t>{L'/', L'r', L'e', L'c', 0, L'4', L'0', L'9', L'7', 0}), g_record.copyData);
    EXPECT_EQ((std::vector<UINT>{kMsgStartLast, WM_USER + 1005}), g_record.userMessages);
    EXPECT_EQ((std::vector<WPARAM>{15}), g_record.registeredParams);
    EXPECT_EQ((std::vector<UINT>{40000, 42999}), g_record.rangeCommands);
    EXPECT_EQ(1, g_record.openFileCommands);
    EXPECT_EQ(1, g_record.acceleratorCommands);

    EXPECT_EQ(0u, g_record.fileChoice);
    EXPECT_EQ(0u, g_record.fileStates[0] & MF_GRAYED);          // no update handler: left enabled
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), g_record.fileStates[1] & MF_GRAYED); // its handler disabled it
    EXPECT_NE(0u, g_record.fileStates[2] & MF_SEPARATOR);
    EXPECT_EQ(0u, g_record.fileStates[3] & (MF_GRAYED | MF_DISABLED)); // "Exit" stays usable
    EXPECT_EQ(0u, g_record.viewChoice);
    EXPECT_EQ(0u, g_record.viewStates[0] & (MF_GRAYED | MF_CHECKED));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), g_record.viewStates[1] & MF_CHECKED);
    EXPECT_EQ(0u, g_record.viewStates[2] & (MF_GRAYED | MF_CHECKED));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), g_record.viewStates[3] & MF_CHECKED);
    EXPECT_EQ(0u, g_record.viewStates[4] & MF_CHECKED);
}

} // namespace
