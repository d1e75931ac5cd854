// A single-document start-up made by a template: document, fixed frame and form view from a
// dialog template, a modeless child dialog with bound controls, an owner-drawn list whose
// rows are measured while it is being created, notifications reflected to the list, and a
// template whose form is missing leaving nothing behind.
#include <gtest/gtest.h>

#include <vector>

#include "framework/win/Afx.h"
#include "CStringPrinter.h"
#include "DocViewResources.h"

namespace {

struct Record {
    int documentsMade = 0;
    int documentsGone = 0;
    int newDocuments = 0;
    int framesGone = 0;
    int viewsGone = 0;
    int initialUpdates = 0;
    int pageInits = 0;
    bool pageBoundInInit = false;
    std::vector<int> measuredByParent; // control ids the parent answered WM_MEASUREITEM for
    int measuredByList = 0;
    int drawnRows = 0;
    std::vector<int> reflectedChanges; // LVN_ITEMCHANGED seen by the list itself
    int parentNotifies = 0;            // NM_CLICK seen by the page (not reflected)
    int pushes = 0;
    int comboChanges = 0;
    CString shellFile;
    bool shellFlagSeen = false;
};
Record g_record;

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    CTestDoc() { ++g_record.documentsMade; }
    ~CTestDoc() override { ++g_record.documentsGone; }
    BOOL OnNewDocument() override
    {
        ++g_record.newDocuments;
        return CDocument::OnNewDocument();
    }
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    ~CTestFrame() override { ++g_record.framesGone; }
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override
    {
        CFrameWnd::PreCreateWindow(cs);
        cs.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

class CRowList : public CListCtrl {
public:
    void MeasureItem(MEASUREITEMSTRUCT* measure) override
    {
        ++g_record.measuredByList;
        measure->itemHeight = 36;
    }
    void DrawItem(DRAWITEMSTRUCT* draw) override
    {
        ++g_record.drawnRows;
        CDC dc;
        dc.Attach(draw->hDC);
        dc.FillSolidRect(draw->rcItem, (draw->itemState & ODS_SELECTED) ? RGB(166, 202, 240) : RGB(255, 255, 255));
    }

protected:
    void OnItemChanged(NMHDR* header, LRESULT* result)
    {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if ((change->uNewState & LVIS_SELECTED) != 0)
            g_record.reflectedChanges.push_back(change->iItem);
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRowList, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
END_MESSAGE_MAP()

class CTestPage : public CDialog {
public:
    CRowList m_list;
    CButton m_check;
    CComboBox m_combo;
    CSliderCtrl m_slider;

    BOOL OnInitDialog() override
    {
        ++g_record.pageInits;
        CDialog::OnInitDialog();
        g_record.pageBoundInInit = m_list.m_hWnd && m_check.m_hWnd && m_combo.m_hWnd && m_slider.m_hWnd;
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_LIST, m_list);
        DDX_Control(dx, IDC_CHECK, m_check);
        DDX_Control(dx, IDC_COMBO, m_combo);
        DDX_Control(dx, IDC_SLIDER, m_slider);
    }
    void OnMeasureItem(int id, MEASUREITEMSTRUCT* measure) override
    {
        g_record.measuredByParent.push_back(id);
        if (id == IDC_LIST)
            measure->itemHeight = 36;
    }
    void OnPush() { ++g_record.pushes; }
    void OnComboChange() { ++g_record.comboChanges; }
    void OnListClick(NMHDR*, LRESULT* result)
    {
        ++g_record.parentNotifies;
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestPage, CDialog)
    ON_BN_CLICKED(IDC_PUSH, OnPush)
    ON_CBN_SELCHANGE(IDC_COMBO, OnComboChange)
    ON_NOTIFY(NM_CLICK, IDC_LIST, OnListClick)
END_MESSAGE_MAP()

class CTestView : public CFormView {
    DECLARE_DYNCREATE(CTestView)
public:
    CTestView() : CFormView(IDD_FORM) {}
    ~CTestView() override { ++g_record.viewsGone; }

    CProgressCtrl m_progress;
    CTabCtrl m_area;
    CTestPage m_page;
    CRect m_pageRect;

    void OnInitialUpdate() override
    {
        ++g_record.initialUpdates;
        CFormView::OnInitialUpdate();
        ResizeParentToFit(FALSE);
        m_progress.SetRange(0, 100);
        m_progress.SetPos(40);
        // The page goes where the tab control shows its contents.
        m_area.GetClientRect(&m_pageRect);
        m_area.AdjustRect(FALSE, &m_pageRect);
        m_area.ClientToScreen(&m_pageRect);
        ScreenToClient(&m_pageRect);
        if (m_page.Create(IDD_PAGE, this)) {
            m_page.MoveWindow(m_pageRect);
            m_page.ShowWindow(SW_SHOW);
        }
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_PROGRESS, m_progress);
        DDX_Control(dx, IDC_PAGE_AREA, m_area);
    }
};
IMPLEMENT_DYNCREATE(CTestView, CFormView)

// A view whose template is not in the resources.
class CMissingView : public CFormView {
    DECLARE_DYNCREATE(CMissingView)
public:
    CMissingView() : CFormView(IDD_MISSING) {}
    ~CMissingView() override { ++g_record.viewsGone; }
};
IMPLEMENT_DYNCREATE(CMissingView, CFormView)

class CTestCommandLine : public CCommandLineInfo {
public:
    void ParseParam(LPCWSTR param, BOOL flag, BOOL last) override
    {
        if (flag && CString(param) == L"safe")
            g_record.shellFlagSeen = true;
        CCommandLineInfo::ParseParam(param, flag, last);
    }
};

class CDocViewApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
CDocViewApp g_app;

BOOL CDocViewApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = { sizeof(controls), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&controls);
    AddDocTemplate(new CSingleDocTemplate(IDR_DOCVIEW, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                          RUNTIME_CLASS(CTestView)));
    CTestCommandLine info;
    ParseCommandLine(info);
    g_record.shellFile = info.m_strFileName;
    return ProcessShellCommand(info);
}

TEST(DocViewTest, TemplateMakesDocumentFrameFormAndPage)
{
    CDocViewApp& app = g_app;
    app.m_hInstance = ::GetModuleHandleW(nullptr);
    app.m_lpCmdLine = const_cast<LPWSTR>(L"\"C:\\some folder\\a file.txt\" /safe");
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(CString(L"C:\\some folder\\a file.txt"), g_record.shellFile);
    EXPECT_TRUE(g_record.shellFlagSeen);

    auto* frame = dynamic_cast<CTestFrame*>(app.m_pMainWnd);
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(frame->IsWindowVisible());
    auto* view = dynamic_cast<CTestView*>(frame->GetActiveView());
    ASSERT_NE(nullptr, view);
    auto* document = dynamic_cast<CTestDoc*>(frame->GetActiveDocument());
    ASSERT_NE(nullptr, document);
    EXPECT_EQ(document, view->GetDocument());
    EXPECT_EQ(1, g_record.newDocuments);
    EXPECT_EQ(1, g_record.initialUpdates);
    EXPECT_EQ(frame, view->GetParentFrame());
    EXPECT_EQ(AFX_IDW_PANE_FIRST, view->GetDlgCtrlID());

    // The frame's client area is the form's size, and the form fills it.
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(view->GetFormSize().cx, client.Width());
    EXPECT_EQ(view->GetFormSize().cy, client.Height());
    EXPECT_GT(client.Width(), 100);
    CRect viewRect;
    view->GetClientRect(&viewRect);
    EXPECT_EQ(client.Width(), viewRect.Width());
    EXPECT_EQ(40, view->m_progress.GetPos());

    // The page: initialised once with its controls bound, rows measured while the list was
    // made (by the parent, whose control had no object yet) and 36 pixels high.
    CTestPage& page = view->m_page;
    ASSERT_NE(nullptr, page.m_hWnd);
    EXPECT_EQ(1, g_record.pageInits);
    EXPECT_TRUE(g_record.pageBoundInInit);
    EXPECT_EQ(view->m_hWnd, ::GetParent(page.m_hWnd));
    EXPECT_TRUE(page.IsWindowVisible());
    EXPECT_EQ(&page.m_list, CWnd::FromHandlePermanent(::GetDlgItem(page.m_hWnd, IDC_LIST)));
    EXPECT_FALSE(g_record.measuredByParent.empty()); // asked while the list was made, before DDX
    for (int id : g_record.measuredByParent)
        EXPECT_EQ(IDC_LIST, id);
    page.m_list.InsertColumn(0, L"Title", LVCFMT_LEFT, 150);
    page.m_list.InsertItem(0, L"General");
    page.m_list.InsertItem(1, L"Record Options");
    page.m_list.SetItemData(1, 0x1234);
    EXPECT_EQ(2, page.m_list.GetItemCount());
    EXPECT_EQ(0x1234u, page.m_list.GetItemData(1));
    EXPECT_EQ(CString(L"Record Options"), page.m_list.GetItemText(1, 0));
    CRect row;
    ASSERT_TRUE(page.m_list.GetItemRect(0, &row, LVIR_BOUNDS));
    EXPECT_EQ(36, row.Height());

    // Selecting reaches the list itself (reflected), not the page's map.
    page.m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(1, page.m_list.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(std::vector<int>{1}, g_record.reflectedChanges);
    NMHDR click = { page.m_list.m_hWnd, IDC_LIST, static_cast<UINT>(NM_CLICK) };
    page.SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(1, g_record.parentNotifies);
    page.m_list.Invalidate();
    page.m_list.UpdateWindow();
    EXPECT_GE(g_record.drawnRows, 2);

    // Controls' notifications reach the page's map.
    ::SendMessageW(::GetDlgItem(page.m_hWnd, IDC_PUSH), BM_CLICK, 0, 0);
    EXPECT_EQ(1, g_record.pushes);
    page.m_check.SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, page.m_check.GetCheck());
    EXPECT_EQ(0, page.m_combo.AddString(L"English"));
    EXPECT_EQ(1, page.m_combo.AddString(L"Slovak"));
    page.m_combo.SetCurSel(1);
    EXPECT_EQ(1, page.m_combo.GetCurSel());
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(page.m_combo.m_hWnd));
    EXPECT_EQ(1, g_record.comboChanges);
    page.m_slider.SetRange(0, 100);
    page.m_slider.SetPos(80);
    EXPECT_EQ(80, page.m_slider.GetPos());

    // Enter and Escape typed into a page close nothing; other keys are the dialog's.
    MSG enter = {};
    enter.hwnd = page.m_check.m_hWnd;
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    MSG escape = enter;
    escape.wParam = VK_ESCAPE;
    EXPECT_TRUE(app.PreTranslateMessage(&enter));
    EXPECT_TRUE(app.PreTranslateMessage(&escape));
    EXPECT_TRUE(page.IsWindowVisible());

    // A second template whose form is missing makes nothing and leaves nothing.
    CSingleDocTemplate missing(IDR_DOCVIEW, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                               RUNTIME_CLASS(CMissingView));
    int framesBefore = g_record.framesGone;
    int viewsBefore = g_record.viewsGone;
    int documentsBefore = g_record.documentsGone;
    EXPECT_EQ(nullptr, missing.OpenDocumentFile(nullptr));
    EXPECT_EQ(framesBefore + 1, g_record.framesGone);
    EXPECT_EQ(viewsBefore + 1, g_record.viewsGone);
    EXPECT_EQ(documentsBefore + 1, g_record.documentsGone);
    EXPECT_EQ(frame, app.m_pMainWnd);

    // Closing the frame takes the view with it; the page and its controls go with the view.
    int viewsLeft = g_record.viewsGone;
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_EQ(viewsLeft + 1, g_record.viewsGone);
    EXPECT_EQ(framesBefore + 2, g_record.framesGone);
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
