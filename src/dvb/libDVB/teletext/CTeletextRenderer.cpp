#include "dvb/libDVB/teletext/CTeletextRenderer.h"

#include <algorithm>

namespace libDVB {

namespace {

constexpr uint16_t kDefaultPage = 100;
constexpr uint16_t kLastPage = 899;
constexpr int kMessageRow = 11;

std::u16string Number(uint32_t value)
{
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value);
    return text;
}

uint16_t ClampNumber(int32_t value) { return static_cast<uint16_t>(std::min<int32_t>(std::max(value, 0), 0xFFFF)); }

} // namespace

CTeletextRenderer::CTeletextRenderer(CTeletextRendererCallback* callback, std::unique_ptr<CTeletextCanvas> canvas)
    : m_callback(callback), m_canvas(std::move(canvas))
{
    BuildTeletextCharacterTable(0, m_table);
}

void CTeletextRenderer::PushViewState()
{
    if (m_decoder)
        m_decoder->SetViewState(m_mode != 0, m_hold, m_overlayPage);
}

HRESULT CTeletextRenderer::Attach(CTeletextDecoder* decoder)
{
    base::CScopedLock lock(m_lock);
    m_decoder = decoder;
    m_page.reset(); // links of another service's page lead nowhere
    if (!decoder) {
        BuildTeletextCharacterTable(0, m_table);
        return S_OK;
    }
    const uint32_t initial = decoder->GetInitialPage();
    const uint16_t page = initial >= 1 && initial <= kLastPage ? static_cast<uint16_t>(initial) : kDefaultPage;
    m_pageOnScreen = TeletextPageKey(page, 0);
    decoder->SetPageOnScreen(m_pageOnScreen);
    // A decoder attached while the view is open must report the page on screen from the start.
    BuildTeletextCharacterTable(decoder->GetLanguageNumber(), m_table);
    PushViewState();
    return S_OK;
}

HRESULT CTeletextRenderer::SetMode(uint8_t mode, int32_t overlayPage)
{
    base::CScopedLock lock(m_lock);
    if (!m_decoder)
        return S_FALSE;
    m_mode = mode;
    if (overlayPage >= 0)
        m_overlayPage = ClampNumber(overlayPage);
    BuildTeletextCharacterTable(m_decoder->GetLanguageNumber(), m_table);
    PushViewState();
    return S_OK;
}

HRESULT CTeletextRenderer::ToggleHold()
{
    base::CScopedLock lock(m_lock);
    m_hold = !m_hold;
    PushViewState();
    return S_OK;
}

HRESULT CTeletextRenderer::SetMessages(const std::u16string& pageNotAvailable, const std::u16string& noTeletext)
{
    base::CScopedLock lock(m_lock);
    m_pageNotAvailable = pageNotAvailable;
    m_noTeletext = noTeletext;
    return S_OK;
}

// The history holds the pages left, most recent first; going to the page at its head is going
// back. Drawing the page on screen again (it was received again, or another sub-page of it was
// chosen) is no visit and leaves the history alone, so that "back" never leads to the page shown.
void CTeletextRenderer::UpdateHistory(uint16_t page)
{
    const uint16_t current = TeletextKeyPage(m_pageOnScreen);
    if (page == current)
        return;
    if (m_history.empty()) {
        if (current)
            m_history.insert(m_history.begin(), current);
        return;
    }
    if (m_history.front() == current)
        return;
    if (m_history.front() == page) {
        m_history.erase(m_history.begin());
        return;
    }
    if (m_history.size() >= kHistoryLimit)
        m_history.pop_back();
    m_history.insert(m_history.begin(), current);
}

HRESULT CTeletextRenderer::Render(int32_t page, int32_t subPage, bool overlay)
{
    base::CScopedLock lock(m_lock);
    if (m_canvas)
        m_canvas->Clear();
    if (!m_decoder) {
        DrawMessage(m_noTeletext);
        Report(TeletextKeyPage(m_pageOnScreen), overlay);
        return E_FAIL;
    }

    uint16_t number = overlay ? m_overlayPage : ClampNumber(page);
    if (number == 0)
        number = TeletextKeyPage(m_pageOnScreen);
    if (!overlay)
        UpdateHistory(number);
    uint16_t sub = ClampNumber(subPage);
    if (subPage <= 0) {
        const int32_t first = m_decoder->GetFirstSubPage(number);
        sub = first < 0 ? 0 : static_cast<uint16_t>(first);
    }
    if (!overlay) {
        m_pageOnScreen = TeletextPageKey(number, sub);
        m_decoder->SetPageOnScreen(m_pageOnScreen);
    }

    bool newsflash = false;
    bool subtitle = false;
    uint8_t national = 0;
    std::unique_ptr<CTeletextPage> copy = m_decoder->GetPageCopy(number, sub, &newsflash, &subtitle, overlay, &national);
    // An overlay does not change what the pointer can click on the page shown.
    std::unique_ptr<CTeletextPage> shown = overlay ? std::move(m_page) : nullptr;
    m_page = std::move(copy);
    HRESULT result = S_OK;
    if (!m_page) {
        DrawMessage(m_pageNotAvailable);
        result = S_FALSE;
    } else {
        m_layout.Build(*m_page, subtitle, newsflash, m_table);
        m_page->linkRectangles = m_layout.Links();
        Paint(m_layout);
    }
    Report(number, overlay);
    if (overlay)
        m_page = std::move(shown);
    return result;
}

void CTeletextRenderer::Paint(const CTeletextLayout& layout)
{
    if (!m_canvas)
        return;
    const int cw = m_canvas->CellWidth();
    const int ch = m_canvas->CellHeight();
    for (const CTeletextLayout::CCell& cell : layout.Cells()) {
        const int x = cell.column * cw;
        const int y = (cell.row - 1) * ch;
        if (!cell.mosaic) {
            m_canvas->DrawCharacter(x, y, cell.character, cell.foreground, cell.background, cell.doubleHeight);
            continue;
        }
        m_canvas->FillRectangle(x, y, x + cw, y + (cell.doubleHeight ? 2 * ch : ch), cell.background);
        for (unsigned i = 0; i < 6; ++i) {
            if (!(cell.sixels & (1u << i)))
                continue;
            const CTeletextLayout::CRect r = CTeletextLayout::Sixel(x, y, cw, ch, cell.doubleHeight, i);
            m_canvas->DrawSixel(r.left, r.top, r.right, r.bottom, cell.foreground, cell.background, cell.separated);
        }
    }
    m_canvas->ApplyAlpha(layout.TreatedRows(ch));
}

// A message stands alone on the page, centred, and is shown whole (with the black around it
// translucent like a page's), for it would otherwise be drawn fully transparent.
void CTeletextRenderer::DrawMessage(const std::u16string& text)
{
    if (!m_canvas)
        return;
    const int length = static_cast<int>(std::min<size_t>(text.size(), CTeletextLayout::kColumns));
    m_canvas->DrawTextLine((CTeletextLayout::kColumns - length) / 2 * m_canvas->CellWidth(),
                       kMessageRow * m_canvas->CellHeight(), text);
    m_canvas->ApplyAlpha(std::vector<uint8_t>(static_cast<size_t>(std::max(m_canvas->Height(), 0)), 1));
}

void CTeletextRenderer::Report(uint32_t page, bool transparent)
{
    if (!m_callback)
        return;
    void* bitmap = m_canvas ? m_canvas->Handle() : nullptr;
    const int32_t width = m_canvas ? m_canvas->Width() : 0;
    const int32_t height = m_canvas ? m_canvas->Height() : 0;
    m_callback->OnPageRendered(bitmap, 0, 0, width, height, page, transparent);
}

int32_t CTeletextRenderer::GetFirstSubPage(uint16_t page)
{
    base::CScopedLock lock(m_lock);
    return m_decoder ? m_decoder->GetFirstSubPage(page) : -1;
}

uint32_t CTeletextRenderer::GetPreviousPage()
{
    base::CScopedLock lock(m_lock);
    return m_decoder ? m_decoder->GetPreviousPage() : 0;
}

uint32_t CTeletextRenderer::GetNextPage()
{
    base::CScopedLock lock(m_lock);
    return m_decoder ? m_decoder->GetNextPage() : 0;
}

uint32_t CTeletextRenderer::GetBackPage()
{
    base::CScopedLock lock(m_lock);
    return m_decoder && !m_history.empty() ? m_history.front() : 0;
}

const CTeletextPage::CLinkRectangle* CTeletextRenderer::LinkAt(float x, float y) const
{
    if (!m_page)
        return nullptr;
    const float cx = x * CTeletextLayout::kColumns;
    const float cy = y * CTeletextLayout::kRows;
    for (const CTeletextPage::CLinkRectangle& link : m_page->linkRectangles)
        if (cx >= static_cast<float>(link.left) && cx < static_cast<float>(link.right) &&
            cy >= static_cast<float>(link.top) && cy < static_cast<float>(link.bottom))
            return &link;
    return nullptr;
}

bool CTeletextRenderer::HitTest(float x, float y)
{
    base::CScopedLock lock(m_lock);
    return LinkAt(x, y) != nullptr;
}

uint32_t CTeletextRenderer::GetLinkAt(float x, float y)
{
    base::CScopedLock lock(m_lock);
    const CTeletextPage::CLinkRectangle* link = LinkAt(x, y);
    if (!link)
        return 0;
    const uint16_t page = ClampNumber(link->page);
    const int32_t first = m_decoder ? m_decoder->GetFirstSubPage(page) : -1;
    return TeletextPageKey(page, first < 0 ? 0 : static_cast<uint32_t>(first));
}

HRESULT CTeletextRenderer::EnterDigit(unsigned digit, std::u16string* text)
{
    if (!text)
        return E_POINTER;
    if (digit > 9)
        return E_INVALIDARG;
    base::CScopedLock lock(m_lock);
    switch (m_entryState) {
    case 0:
        if (digit == 0 || digit == 9) {
            text->clear(); // no page number starts with these
            return S_OK;
        }
        m_entryNumber = digit * 100;
        m_entryText = Number(digit) + u"--";
        m_entryState = 1;
        break;
    case 1:
        m_entryNumber += digit * 10;
        m_entryText = Number(m_entryNumber / 10) + u"-";
        m_entryState = 2;
        break;
    default: {
        m_entryNumber += digit;
        m_entryState = 0;
        m_entryText.clear();
        const uint16_t page = static_cast<uint16_t>(m_entryNumber);
        const int32_t first = m_decoder ? m_decoder->GetFirstSubPage(page) : -1;
        Render(page, first < 0 ? 0 : first, false);
        break;
    }
    }
    *text = m_entryText;
    return S_OK;
}

void CTeletextRenderer::ClearPageEntry()
{
    base::CScopedLock lock(m_lock);
    m_entryState = 0;
    m_entryNumber = 0;
    m_entryText.clear();
}

uint32_t CTeletextRenderer::GetPageOnScreen()
{
    base::CScopedLock lock(m_lock);
    return m_pageOnScreen;
}

std::vector<uint16_t> CTeletextRenderer::GetHistory()
{
    base::CScopedLock lock(m_lock);
    return m_history;
}

bool CTeletextRenderer::IsHeld()
{
    base::CScopedLock lock(m_lock);
    return m_hold;
}

std::vector<CTeletextPage::CLinkRectangle> CTeletextRenderer::GetLinks()
{
    base::CScopedLock lock(m_lock);
    return m_page ? m_page->linkRectangles : std::vector<CTeletextPage::CLinkRectangle>();
}

} // namespace libDVB
