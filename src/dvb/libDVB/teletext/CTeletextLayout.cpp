#include "dvb/libDVB/teletext/CTeletextLayout.h"

#include <algorithm>

namespace libDVB {

namespace {

constexpr uint8_t kBlack = 0;
constexpr uint8_t kWhite = 7;
constexpr uint8_t kDoubleHeight = 0x0D;

inline bool IsDigit(uint8_t code) { return code >= '0' && code <= '9'; }
inline bool IsMosaicCode(uint8_t code) { return code >= 0x20 && (code < 0x40 || code >= 0x60); }
// EN 300 706, 15.7: bits 0-4 are the first five sixels, bit 6 the sixth (bit 5 is always set).
inline uint8_t SixelBits(uint8_t code) { return static_cast<uint8_t>((code & 0x1F) | ((code & 0x40) >> 1)); }

bool HasDoubleHeight(const uint8_t* cells)
{
    for (int c = 0; c < CTeletextLayout::kColumns; ++c)
        if ((cells[c] & 0x7F) == kDoubleHeight)
            return true;
    return false;
}

} // namespace

// Box codes met while drawing, by page row.
struct CTeletextLayout::CBoxes {
    int firstStart = 0;
    int lastStart = 0;
    int lastEnd = 0;
    int starts = 0;
};

CTeletextLayout::CRect CTeletextLayout::Sixel(int x, int y, int cellWidth, int cellHeight, bool doubleHeight,
                                              unsigned index)
{
    const int w = cellWidth / 2 + 1;
    const int h = (doubleHeight ? 2 * cellHeight : cellHeight) / 3 + 1;
    const int j = static_cast<int>(index & 1);
    const int k = static_cast<int>(index / 2);
    return {x + j * w, y + k * h, x + (j + 1) * w, y + (k + 1) * h};
}

void CTeletextLayout::Build(const CTeletextPage& page, bool subtitle, bool newsflash,
                            const char16_t table[kTeletextCharacterCount])
{
    m_cells.clear();
    m_links.clear();
    m_navigation.clear();
    m_row24 = page.row24 != 0;
    m_linkRow24 = m_row24 && !page.linkedPages.empty();
    const int lastRow = m_row24 ? kRows : kRows - 1;

    CBoxes boxes;
    for (int row = 1; row <= lastRow; ++row) {
        const uint8_t* cells = page.cells + row * CTeletextPage::kColumns;
        if (!HasDoubleHeight(cells)) {
            DrawRow(cells, row, EPass::kFirst, table, boxes);
        } else if (row == lastRow) {
            // Nothing below to reach into: the row is drawn whole in normal height.
            DrawRow(cells, row, EPass::kWhole, table, boxes);
        } else {
            DrawRow(cells, row, EPass::kFirst, table, boxes);
            DrawRow(cells, row + 1, EPass::kLower, table, boxes);
            DrawRow(cells, row, EPass::kUpper, table, boxes);
            ++row; // the lower row's own cells are never drawn
        }
    }
    AddNavigationLinks(page.linkedPages);

    m_restricted = subtitle || (newsflash && boxes.starts > 0);
    m_boxTop = boxes.firstStart;
    m_boxBottom = boxes.lastEnd ? boxes.lastEnd + 1 : 0;
    if (boxes.lastStart && boxes.lastStart + 1 > m_boxBottom)
        m_boxBottom = boxes.lastStart + 1;
}

void CTeletextLayout::DrawRow(const uint8_t* cells, int row, EPass pass, const char16_t* table, CBoxes& boxes)
{
    // Every row starts white on black, alphanumeric, normal size, contiguous, nothing concealed or held.
    uint8_t foreground = kWhite;
    uint8_t background = kBlack;
    bool mosaic = false;
    bool separated = false;
    bool conceal = false;
    bool hold = false;
    bool doubleHeight = false;
    uint8_t held = 0x20; // the last mosaic character, shown in control cells while held
    bool heldSeparated = false;
    // In the lower row of a pair, codes belong to the upper row whose cells they are.
    const int boxRow = pass == EPass::kLower ? row - 1 : row;
    const bool navigation = row == kRows && m_linkRow24 && pass != EPass::kLower;
    bool skipColour = false;
    int drawn = kColumns;

    for (int c = 0; c < kColumns; ++c) {
        uint8_t code = cells[c] & 0x7F;
        if (pass == EPass::kLower && code >= 0x20)
            code = 0x20;
        if (code == kDoubleHeight && pass == EPass::kFirst) {
            drawn = c; // the rest of the row waits for the second drawing
            break;
        }
        int afterForeground = -1;
        if (code < 0x08) {
            if (code != 0 || background != kBlack) {
                foreground = code;
                mosaic = false;
                conceal = false;
                hold = false;
            }
            if (navigation) {
                // Each colour starts a keyword of the navigation row; a colour right after a new
                // background only colours the text of the keyword that the background began.
                if (skipColour) {
                    skipColour = false;
                } else {
                    if (!m_navigation.empty() && m_navigation.back().right < 0)
                        m_navigation.back().right = c;
                    m_navigation.push_back({c, kRows - 1, -1, kRows, 0});
                }
            }
        } else if (code >= 0x10 && code < 0x18) {
            if (hold)
                afterForeground = code - 0x10;
            else
                foreground = code - 0x10;
            mosaic = true;
            conceal = false;
        } else {
            switch (code) {
            case 0x0A: // end box
                boxes.lastEnd = std::max(boxes.lastEnd, boxRow);
                break;
            case 0x0B: // start box
                if (!boxes.firstStart || boxRow < boxes.firstStart)
                    boxes.firstStart = boxRow;
                boxes.lastStart = std::max(boxes.lastStart, boxRow);
                ++boxes.starts;
                break;
            case 0x0C:
                doubleHeight = false;
                break;
            case kDoubleHeight:
                if (pass == EPass::kUpper)
                    doubleHeight = true;
                break;
            case 0x18:
                conceal = true;
                break;
            case 0x19:
                separated = false;
                break;
            case 0x1A:
                separated = true;
                break;
            case 0x1C:
                background = kBlack;
                break;
            case 0x1D:
                background = foreground;
                if (navigation)
                    skipColour = true;
                break;
            case 0x1E:
                hold = true;
                break;
            case 0x1F:
                hold = false;
                break;
            default: // flash, steady, double width and size, escape: not shown differently
                break;
            }
        }

        CCell cell{static_cast<uint8_t>(row), static_cast<uint8_t>(c), foreground, background, false, separated,
                   doubleHeight, 0, u' '};
        if (code < 0x20) {
            if (hold) {
                cell.mosaic = true;
                cell.sixels = SixelBits(held);
                cell.separated = heldSeparated;
            }
        } else if (mosaic && IsMosaicCode(code)) {
            cell.mosaic = true;
            if (!conceal)
                cell.sixels = SixelBits(code);
            held = code;
            heldSeparated = separated;
        } else if (!conceal) {
            cell.character = table[code - 0x20];
        }
        m_cells.push_back(cell);
        if (afterForeground >= 0)
            foreground = static_cast<uint8_t>(afterForeground);
    }

    if (navigation && !m_navigation.empty() && m_navigation.back().right < 0)
        m_navigation.back().right = kColumns;
    if (pass == EPass::kLower || (row == kRows && m_linkRow24))
        return;
    FindPageNumbers(cells, row, drawn, pass == EPass::kUpper);
}

// A run of exactly three digits naming a page from 100 to 899 links to it; the link area starts one
// column before the run, where a pointer aiming at the number from the left already is.
void CTeletextLayout::FindPageNumbers(const uint8_t* cells, int row, int end, bool tall)
{
    int c = 0;
    while (c < end) {
        if (!IsDigit(cells[c] & 0x7F)) {
            ++c;
            continue;
        }
        const int first = c;
        int value = 0;
        while (c < end && IsDigit(cells[c] & 0x7F)) {
            if (c - first < 3) // longer runs are no page number, however long they go on
                value = value * 10 + ((cells[c] & 0x7F) - '0');
            ++c;
        }
        // A drawing that stops early stops at a double-height code, so every run here is whole.
        if (c - first != 3 || value < 100 || value > 899)
            continue;
        m_links.push_back({std::max(first - 1, 0), row - 1, c, tall ? row + 1 : row, value});
    }
}

void CTeletextLayout::AddNavigationLinks(const std::vector<uint16_t>& pages)
{
    const size_t n = std::min(m_navigation.size(), pages.size());
    for (size_t i = 0; i < n; ++i) {
        if (pages[i] == 0)
            continue; // a colour whose link names no page
        CTeletextPage::CLinkRectangle link = m_navigation[i];
        link.page = pages[i];
        m_links.push_back(link);
    }
}

std::vector<uint8_t> CTeletextLayout::TreatedRows(int cellHeight) const
{
    const int height = kRows * cellHeight;
    std::vector<uint8_t> treated(static_cast<size_t>(std::max(height, 0)), 0);
    if (height <= 0)
        return treated;
    auto mark = [&](int from, int to) {
        from = std::max(from, 0);
        to = std::min(to, height - 1);
        for (int y = from; y <= to; ++y)
            treated[static_cast<size_t>(y)] = 1;
    };
    const int bandTop = (kRows - 1) * cellHeight - 1;
    if (m_restricted) {
        if (m_boxBottom > 0)
            mark(m_boxTop ? (m_boxTop - 1) * cellHeight - 1 : 0, m_boxBottom * cellHeight - 1);
    } else {
        mark(0, bandTop - 1);
    }
    if (m_row24)
        mark(bandTop, height - 1);
    return treated;
}

} // namespace libDVB
