// Lays a teletext page out for drawing: runs the spacing-attribute machine of ETSI EN 300 706
// (chapter 12.2) over rows 1 to 24, with double height, hold mosaics, conceal and boxes, and yields
// the cells to paint in drawing order with their colours, the clickable page links and the pixel
// rows that the alpha pass makes visible. It knows nothing of fonts or bitmaps beyond cell sizes.
#pragma once

#include <cstdint>
#include <vector>

#include "dvb/libDVB/teletext/CTeletextPage.h"
#include "dvb/libDVB/teletext/TeletextCharacterTable.h"

namespace libDVB {

class CTeletextLayout {
public:
    static constexpr int kColumns = 40;
    static constexpr int kRows = 24;          // rows 1..24 are drawn; the header row is not
    static constexpr int kBitmapColumns = 41; // the bitmap leaves room for the last sixels

    // The eight teletext colours in code order as COLORREF values (0x00BBGGRR).
    static constexpr uint32_t kColours[8] = {0x000000, 0x0000FF, 0x00FF00, 0x00FFFF,
                                             0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

    struct CCell {
        uint8_t row;        // the page row (1..24) whose place the cell takes
        uint8_t column;     // 0..39
        uint8_t foreground; // colour codes 0..7
        uint8_t background;
        bool mosaic;        // a block mosaic rather than a character
        bool separated;
        bool doubleHeight;
        uint8_t sixels;     // mosaic: bit i = sixel i (0, 1 top; 2, 3 middle; 4, 5 bottom; left then right)
        char16_t character; // character: what to draw (a space for attributes and concealed text)
    };

    // One sixel of a mosaic cell whose top-left corner is (x, y), in pixels; right and bottom
    // exclusive. Sixel columns are cellWidth / 2 + 1 wide and rows a third of the (doubled) cell
    // height + 1 high, so a cell's mosaic reaches one pixel or two into its neighbours.
    struct CRect {
        int left, top, right, bottom;
    };
    static CRect Sixel(int x, int y, int cellWidth, int cellHeight, bool doubleHeight, unsigned index);

    // Lays the page out. `subtitle` and `newsflash` are the page entry's C6 and C5 flags; `table`
    // maps the codes 0x20..0x7F to characters.
    void Build(const CTeletextPage& page, bool subtitle, bool newsflash,
               const char16_t table[kTeletextCharacterCount]);

    const std::vector<CCell>& Cells() const { return m_cells; }
    // Link areas in character cells of the bitmap (page row r spans r - 1 to r), with the page
    // each leads to, in the order a hit test tries them.
    const std::vector<CTeletextPage::CLinkRectangle>& Links() const { return m_links; }

    // Whether only the boxed area (and row 24) is shown: subtitle pages, and newsflashes with a box.
    bool Restricted() const { return m_restricted; }
    bool ShowsRow24() const { return m_row24; }
    // The page rows bounding the boxed area (0, 0 when the page holds no box code).
    int BoxTop() const { return m_boxTop; }
    int BoxBottom() const { return m_boxBottom; }
    // One flag per pixel row of a bitmap 24 cells high, top row first: treated by the alpha pass.
    std::vector<uint8_t> TreatedRows(int cellHeight) const;

private:
    enum class EPass {
        kFirst, // up to the first double-height code
        kLower, // the lower row of a double-height pair, painted from the upper row's attributes
        kUpper, // the upper row again, whole, double height from its double-height code on
        kWhole, // a whole row whose double-height codes have nowhere to reach into
    };
    struct CBoxes;

    void DrawRow(const uint8_t* cells, int row, EPass pass, const char16_t* table, CBoxes& boxes);
    void FindPageNumbers(const uint8_t* cells, int row, int lastColumn, bool tall);
    void AddNavigationLinks(const std::vector<uint16_t>& pages);

    std::vector<CCell> m_cells;
    std::vector<CTeletextPage::CLinkRectangle> m_links;
    std::vector<CTeletextPage::CLinkRectangle> m_navigation; // row 24, before they get their pages
    bool m_linkRow24 = false;
    bool m_restricted = false;
    bool m_row24 = false;
    int m_boxTop = 0;
    int m_boxBottom = 0;
};

} // namespace libDVB
