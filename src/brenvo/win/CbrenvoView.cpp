#include "brenvo/win/CbrenvoView.h"

#include <vector>

#include "framework/win/CDataExchange.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CbrenvoView, CFormView)

BEGIN_MESSAGE_MAP(CbrenvoView, CFormView)
    ON_BN_CLICKED(IDC_CHECK_FOR_UPDATES, OnCheckForUpdates)
END_MESSAGE_MAP()

namespace {

CStringA WindowTextA(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return CStringA(text.data(), got > 0 ? got : 0);
}

} // namespace

CbrenvoView::CbrenvoView() : CFormView(IDD_BRENVO_FORM), m_exchange(*this) {}

CbrenvoView::~CbrenvoView()
{
    if (m_boldFont)
        ::DeleteObject(m_boldFont);
}

void CbrenvoView::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_ACCOUNT, m_account);
    DDX_Control(dx, IDC_PASSWORD, m_password);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
    DDX_Control(dx, IDC_HEADING_ACCOUNT, m_headingAccount);
    DDX_Control(dx, IDC_HEADING_DETAILS, m_headingDetails);
    DDX_Control(dx, IDC_STATUS, m_status);
    DDX_Control(dx, IDC_DOWNLOADING, m_downloading);
}

void CbrenvoView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    CDataExchange dx = {FALSE, this};
    DoDataExchange(&dx);
    ResizeParentToFit(FALSE);

    HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    m_boldFont = ::CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, "Tahoma");
    m_headingAccount.SetFont(m_boldFont);
    m_headingDetails.SetFont(m_boldFont);

    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    m_progress.ShowWindow(SW_HIDE);
    m_status.ShowWindow(SW_HIDE);
    m_downloading.ShowWindow(SW_HIDE);
}

void CbrenvoView::OnCheckForUpdates()
{
    m_exchange.OnCheckForUpdates(WindowTextA(m_account.m_hWnd), WindowTextA(m_password.m_hWnd));
}

void CbrenvoView::ShowStatus(const char* text)
{
    ::SetWindowTextA(m_status.m_hWnd, text);
    m_status.ShowWindow(SW_SHOW);
}

void CbrenvoView::ShowMessage(const char* text)
{
    ::MessageBoxA(m_hWnd, text, "brenvo", MB_OK | MB_ICONEXCLAMATION);
}

void CbrenvoView::ShowDownload(bool shown)
{
    m_downloading.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    if (shown) // the form does not repaint on its own while the transfer runs
        ::RedrawWindow(m_downloading.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    m_progress.ShowWindow(shown ? SW_SHOW : SW_HIDE);
}

void CbrenvoView::SetProgress(int position)
{
    m_progress.SetPos(position);
}

void CbrenvoView::Quit()
{
    ::PostQuitMessage(0);
}
