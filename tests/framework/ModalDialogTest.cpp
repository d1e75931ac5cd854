// Modal dialogs: the owner (the top-level window above the given parent) is disabled while the
// dialog runs and enabled after it; OK takes the fields, the close box cancels; the up-down's
// UDN_DELTAPOS can refuse a step; the time picker keeps a time; the save dialog opens and is
// cancelled by a test thread; '|' filters become the platform's list.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "framework/win/Afx.h"
#include "ModalDialogResources.h"

namespace {

// The first visible dialog window owned by owner, waited for up to 20 s.
HWND WaitForOwnedDialog(HWND owner)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
        for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
             w = ::FindWindowExW(nullptr, w, L"#32770", nullptr))
            if (::GetWindow(w, GW_OWNER) == owner && ::IsWindowVisible(w))
                return w;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

class CCountDialog : public CDialog {
public:
    CCountDialog() : CDialog(IDD_MODAL) {}
    CSpinButtonCtrl m_spin;
    CDateTimeCtrl m_time;
    std::atomic<int> deltas{0};
    int okPosition = -1;
    SYSTEMTIME okTime = {};
    DWORD okTimeState = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_spin.SetRange32(0, 10);
        m_spin.SetPos32(4);
        SYSTEMTIME time = {2026, 12, 3, 9, 23, 30, 0, 0};
        m_time.SetFormat(L"HH':'mm");
        m_time.SetTime(time);
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_COUNT_SPIN, m_spin);
        DDX_Control(dx, IDC_TIME, m_time);
    }
    void OnOK() override
    {
        okPosition = m_spin.GetPos32();
        okTimeState = m_time.GetTime(&okTime);
        CDialog::OnOK();
    }
    // Steps beyond 5 are refused.
    void OnDeltaPos(NMHDR* header, LRESULT* result)
    {
        const NMUPDOWN* change = reinterpret_cast<NMUPDOWN*>(header);
        ++deltas;
        *result = change->iPos + change->iDelta > 5;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountDialog, CDialog)
    ON_NOTIFY(UDN_DELTAPOS, IDC_COUNT_SPIN, OnDeltaPos)
END_MESSAGE_MAP()

class ModalDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
        ::InitCommonControlsEx(&controls);
        m_owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                    nullptr, nullptr, nullptr);
        m_child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, m_owner, nullptr, nullptr,
                                    nullptr);
        ASSERT_TRUE(m_owner && m_child);
    }
    void TearDown() override { ::DestroyWindow(m_owner); }
    HWND m_owner = nullptr;
    HWND m_child = nullptr;
};

TEST_F(ModalDialogTest, OwnerIsDisabledWhileTheDialogRuns)
{
    CCountDialog dialog;
    std::atomic<bool> found{false}, ownerDisabled{false};
    std::thread driver([&] {
        HWND box = WaitForOwnedDialog(m_owner);
        found = box != nullptr;
        if (!box)
            return;
        ownerDisabled = !::IsWindowEnabled(m_owner);
        HWND edit = ::GetDlgItem(box, IDC_COUNT);
        ::SendMessageW(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        for (int i = 0; i < 2; ++i)
            ::SendMessageW(edit, WM_KEYDOWN, VK_UP, 0);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    const INT_PTR result = dialog.DoModal(CWnd::FromHandle(m_child));
    driver.join();
    ASSERT_TRUE(found);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(::IsWindowEnabled(m_owner));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(2, dialog.deltas.load()); // 4 -> 5 taken, 5 -> 6 refused
    EXPECT_EQ(5, dialog.okPosition);
    EXPECT_EQ(static_cast<DWORD>(GDT_VALID), dialog.okTimeState);
    EXPECT_EQ(23, dialog.okTime.wHour);
    EXPECT_EQ(30, dialog.okTime.wMinute);

    // Again, closed by its close box: Cancel, nothing taken.
    CCountDialog second;
    std::thread closer([&] {
        if (HWND box = WaitForOwnedDialog(m_owner))
            ::PostMessageW(box, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(IDCANCEL, second.DoModal(CWnd::FromHandle(m_owner)));
    closer.join();
    EXPECT_EQ(-1, second.okPosition);
    EXPECT_TRUE(::IsWindowEnabled(m_owner));
}

TEST_F(ModalDialogTest, AMissingTemplateLeavesTheOwnerEnabled)
{
    CDialog dialog(IDD_MODAL_MISSING);
    EXPECT_EQ(-1, dialog.DoModal(CWnd::FromHandle(m_owner)));
    EXPECT_TRUE(::IsWindowEnabled(m_owner));
}

TEST_F(ModalDialogTest, SaveDialogOpensAndIsCancelled)
{
    CFileDialog save(FALSE, L"ts", L"recording.ts", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     L"Transport streams (*.ts)|*.ts|All files (*.*)|*.*||", CWnd::FromHandle(m_child));
    std::atomic<bool> found{false};
    std::thread canceller([&] {
        HWND box = WaitForOwnedDialog(m_owner);
        found = box != nullptr;
        if (box)
            ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, save.DoModal());
    canceller.join();
    EXPECT_TRUE(found);
    EXPECT_EQ(L"recording.ts", std::wstring(save.GetPathName().GetString()));
}

class CColumnRows : public CListCtrl {
public:
    std::vector<std::pair<int, RECT>> cells;
    void DrawItem(DRAWITEMSTRUCT* draw) override { DrawColumns(draw); }
    void DrawSubItem(DRAWITEMSTRUCT*, int column, const RECT& cell) override { cells.emplace_back(column, cell); }
};

class CColumnsDialog : public CDialog {
public:
    CColumnsDialog() : CDialog(IDD_COLUMNS) {}
    CColumnRows m_rows;
    HBRUSH m_brush = ::CreateSolidBrush(RGB(0x20, 0x40, 0x60));
    int colourQueries = 0;
    ~CColumnsDialog() override { ::DeleteObject(m_brush); }

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_ROWS, m_rows); }
    HBRUSH OnCtlColorEdit(HDC dc, CWnd* edit)
    {
        colourQueries += edit && edit->m_hWnd == ::GetDlgItem(m_hWnd, IDC_SEARCH);
        ::SetBkColor(dc, RGB(0x20, 0x40, 0x60));
        return m_brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColumnsDialog, CDialog)
    ON_WM_CTLCOLOREDIT()
END_MESSAGE_MAP()

TEST_F(ModalDialogTest, ColumnsAreDrawnCellByCellAndEditsTakeTheParentsColours)
{
    CColumnsDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_COLUMNS, CWnd::FromHandle(m_owner)));
    const int widths[] = {40, 60, 30};
    for (int i = 0; i < 3; ++i)
        dialog.m_rows.InsertColumn(i, L"c", LVCFMT_LEFT, widths[i]);
    dialog.m_rows.InsertItem(0, L"row");
    EXPECT_EQ(3, dialog.m_rows.GetColumnCount());
    ::InvalidateRect(dialog.m_hWnd, nullptr, TRUE);
    ::RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
    ASSERT_EQ(3u, dialog.m_rows.cells.size());
    int left = dialog.m_rows.cells[0].second.left;
    for (int i = 0; i < 3; ++i) {
        const RECT& cell = dialog.m_rows.cells[i].second;
        EXPECT_EQ(i, dialog.m_rows.cells[i].first);
        EXPECT_EQ(left, cell.left) << i;
        EXPECT_EQ(widths[i], cell.right - cell.left) << i;
        left = cell.right;
    }
    EXPECT_GT(dialog.colourQueries, 0);
    HWND edit = ::GetDlgItem(dialog.m_hWnd, IDC_SEARCH);
    HDC dc = ::GetDC(edit);
    RECT client;
    ::GetClientRect(edit, &client);
    EXPECT_EQ(RGB(0x20, 0x40, 0x60), ::GetPixel(dc, client.right - 3, client.bottom / 2));
    ::ReleaseDC(edit, dc);
    ::DestroyWindow(dialog.m_hWnd);
}

TEST(FileDialogFilter, BarsBecomeTerminatorsEndingInTwo)
{
    using namespace std::string_literals;
    EXPECT_EQ(L"Text\0*.txt\0All\0*.*\0\0"s, CFileDialog::FilterFromBars(L"Text|*.txt|All|*.*||"));
    EXPECT_EQ(L"Text\0*.txt\0\0"s, CFileDialog::FilterFromBars(L"Text|*.txt"));
    EXPECT_EQ(L"Text\0*.txt\0\0"s, CFileDialog::FilterFromBars(L"Text|*.txt|"));
    EXPECT_EQ(L""s, CFileDialog::FilterFromBars(nullptr));
    EXPECT_EQ(L""s, CFileDialog::FilterFromBars(L""));
}

} // namespace
