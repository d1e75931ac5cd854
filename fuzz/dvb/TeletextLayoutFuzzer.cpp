// Arbitrary page cells, flags and linked pages through the teletext page layout: every cell a
// broadcast can send, with double height, boxes and navigation rows in any mix.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "dvb/libDVB/teletext/CTeletextLayout.h"
#include "dvb/libDVB/teletext/TeletextAlpha.h"

// Input: a flag byte (subtitle, newsflash, row 24, language from the high bits), the number of
// linked pages (0..4) and their numbers as two bytes each, then the 1000 cells (missing ones 0).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t flags = data[0];
    const unsigned links = data[1] % 5;
    size_t offset = 2;
    libDVB::CTeletextPage page(100, 0);
    page.row24 = (flags & 4) ? 1 : 0;
    for (unsigned i = 0; i < links && offset + 2 <= size; ++i, offset += 2)
        page.linkedPages.push_back(static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8)));
    const size_t cells = size - offset < libDVB::CTeletextPage::kCellCount ? size - offset : libDVB::CTeletextPage::kCellCount;
    std::memcpy(page.cells, data + offset, cells);

    char16_t table[libDVB::kTeletextCharacterCount];
    libDVB::BuildTeletextCharacterTable(flags >> 3, table);
    libDVB::CTeletextLayout layout;
    layout.Build(page, (flags & 1) != 0, (flags & 2) != 0, table);

    // Every cell and link must lie on the page; the alpha pass must stay inside its bitmap.
    for (const auto& cell : layout.Cells())
        if (cell.row < 1 || cell.row > 24 || cell.column > 39 || cell.foreground > 7 || cell.background > 7)
            __builtin_trap();
    for (const auto& link : layout.Links())
        if (link.left < 0 || link.right > 40 || link.left >= link.right || link.top < 0 || link.bottom > 25 ||
            link.top >= link.bottom || link.page == 0)
            __builtin_trap();
    constexpr int kCellWidth = 3, kCellHeight = 4;
    const auto treated = layout.TreatedRows(kCellHeight);
    if (treated.size() != 24u * kCellHeight)
        __builtin_trap();
    static uint32_t pixels[41 * kCellWidth * 24 * kCellHeight];
    libDVB::ApplyTeletextAlpha(pixels, 41 * kCellWidth, 24 * kCellHeight, treated);
    return 0;
}
