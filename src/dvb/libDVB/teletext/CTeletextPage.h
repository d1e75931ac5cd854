// One received teletext sub-page: the 25 x 40 character grid with its navigation links. The
// decoder fills it; the page renderer draws a copy of it and records its clickable areas in it.
#pragma once

#include <cstdint>
#include <vector>

namespace libDVB {

class CTeletextPage {
public:
    static constexpr unsigned kRows = 25;
    static constexpr unsigned kColumns = 40;
    static constexpr unsigned kCellCount = kRows * kColumns;

    // A clickable area in character cells and the page it leads to.
    struct CLinkRectangle {
        int32_t left;
        int32_t top;
        int32_t right;
        int32_t bottom;
        int32_t page;
    };

    CTeletextPage() = default;
    CTeletextPage(uint16_t page, uint16_t subPage) : pageNumber(page), subPageNumber(subPage) {}

    uint8_t Cell(unsigned row, unsigned column) const { return cells[row * kColumns + column]; }
    void Clear();

    // Row-major; each byte as transmitted in teletext order (bit 7 the parity bit, bits 0-6 the code).
    uint8_t cells[kCellCount] = {};
    // The last navigation packet asked for row 24 to be shown.
    uint8_t row24 = 0;
    uint16_t pageNumber = 0;
    uint16_t subPageNumber = 0;
    std::vector<CLinkRectangle> linkRectangles;
    // Pages named by the navigation packet, in the order red, green, yellow, cyan.
    std::vector<uint16_t> linkedPages;
};

} // namespace libDVB
