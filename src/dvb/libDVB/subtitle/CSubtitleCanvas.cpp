#include "dvb/libDVB/subtitle/CSubtitleCanvas.h"

#include <algorithm>
#include <cstring>

namespace libDVB {

namespace {

// data_type of the pixel-data sub-blocks (EN 300 743, 7.2.5.1).
constexpr uint8_t kTwoBitString = 0x10;
constexpr uint8_t kFourBitString = 0x11;
constexpr uint8_t kEightBitString = 0x12;
constexpr uint8_t kMapTwoToFour = 0x20;
constexpr uint8_t kMapTwoToEight = 0x21;
constexpr uint8_t kMapFourToEight = 0x22;
constexpr uint8_t kEndOfLine = 0xF0;

} // namespace

void CSubtitleCanvas::Clear()
{
    // Bottom-up rows: top-down rows [top, bottom) are the memory rows [kHeight - bottom, kHeight - top).
    if (m_dirtyTop < m_dirtyBottom)
        std::memset(m_pixels + (kHeight - m_dirtyBottom) * kWidth, 0,
                    sizeof(uint32_t) * kWidth * static_cast<size_t>(m_dirtyBottom - m_dirtyTop));
    m_dirtyTop = kHeight;
    m_dirtyBottom = 0;
}

void CSubtitleCanvas::Draw(const CSubtitleDisplaySet& set)
{
    Clear();
    for (const auto& ref : set.page.regions) {
        const CSubtitleDisplaySet::CRegion* region = set.FindRegion(ref.regionId);
        const CSubtitleDisplaySet::CClut* clut = region ? set.FindClut(region->clutId) : nullptr;
        if (!clut)
            continue;
        // The region's background code shows the video through.
        uint32_t clut4[16];
        std::memcpy(clut4, clut->entries4, sizeof clut4);
        clut4[region->code4 & 15] = 0;
        const CClip clip = {std::max(0, int(ref.horizontal)), std::max(0, int(ref.vertical)),
                            std::min(kWidth, int(ref.horizontal) + region->width),
                            std::min(kHeight, int(ref.vertical) + region->height)};
        if (clip.left >= clip.right || clip.top >= clip.bottom)
            continue;
        for (const auto& objectRef : region->objects)
            if (const CSubtitleDisplaySet::CObject* object = set.FindObject(objectRef.objectId))
                DrawObject(*object, ref.horizontal + objectRef.horizontal, ref.vertical + objectRef.vertical, clut4,
                           clip);
    }
    if (m_dirtyTop >= m_dirtyBottom)
        return;
    for (uint32_t* p = m_pixels + (kHeight - m_dirtyBottom) * kWidth, *end = m_pixels + (kHeight - m_dirtyTop) * kWidth;
         p != end; ++p)
        if (*p == kOpaqueBlack)
            *p = kTranslucentBlack;
}

void CSubtitleCanvas::DrawObject(const CSubtitleDisplaySet::CObject& object, int x, int y, const uint32_t* clut4,
                                 const CClip& clip)
{
    if (object.codingMethod != 0)
        return; // character-coded objects carry no pixels
    base::CByteReader reader(object.data.data(), object.data.size());
    const uint32_t top = reader.U16();
    const uint32_t bottom = reader.U16();
    if (reader.Overrun() || top + bottom > reader.Remaining())
        return;
    const uint8_t* topData = reader.Take(top);
    const uint8_t* bottomData = reader.Take(bottom);
    DrawField(topData, top, x, y, clut4, clip);
    // A bottom field of length 0 repeats the top field (EN 300 743, 7.2.5).
    if (bottom == 0)
        DrawField(topData, top, x, y + 1, clut4, clip);
    else
        DrawField(bottomData, bottom, x, y + 1, clut4, clip);
}

void CSubtitleCanvas::DrawField(const uint8_t* data, uint32_t size, int x0, int y0, const uint32_t* clut4,
                                const CClip& clip)
{
    base::CByteReader reader(data, size);
    int x = x0;
    int y = y0;
    while (!reader.Empty()) {
        switch (reader.U8()) {
        case kTwoBitString:
            SkipTwoBitString(reader, x);
            break;
        case kFourBitString:
            FourBitString(reader, x, y, clut4, clip);
            break;
        case kEightBitString:
            SkipEightBitString(reader, x);
            break;
        case kMapTwoToFour:
            reader.Skip(2);
            break;
        case kMapTwoToEight:
            reader.Skip(4);
            break;
        case kMapFourToEight:
            reader.Skip(16);
            break;
        case kEndOfLine:
            x = x0;
            y += 2;
            break;
        default:
            return; // an unknown block: its length is unknown, so is everything after it
        }
    }
}

void CSubtitleCanvas::Run(int x, int y, int count, uint32_t colour, const CClip& clip)
{
    if (y < clip.top || y >= clip.bottom)
        return;
    const int from = std::max(x, clip.left);
    const int to = std::min(x + count, clip.right);
    if (from >= to)
        return;
    uint32_t* row = m_pixels + (kHeight - 1 - y) * kWidth;
    std::fill(row + from, row + to, colour);
    m_dirtyTop = std::min(m_dirtyTop, y);
    m_dirtyBottom = std::max(m_dirtyBottom, y + 1);
}

// 4-bit/pixel code string (EN 300 743, 7.2.5.2, table 22). Runs of pseudo-colour 0 are written as
// transparent pixels; a reader that runs out reads zeros, which end the string.
void CSubtitleCanvas::FourBitString(base::CByteReader& reader, int& x, int y, const uint32_t* clut4, const CClip& clip)
{
    for (;;) {
        const unsigned code = reader.Bits(4);
        if (code != 0) {
            Run(x, y, 1, clut4[code], clip);
            x += 1;
            continue;
        }
        if (!reader.Bit()) { // switch_1
            const unsigned run = reader.Bits(3);
            if (run == 0)
                break; // end_of_string_signal
            Run(x, y, int(run) + 2, 0, clip);
            x += int(run) + 2;
        } else if (!reader.Bit()) { // switch_2
            const int run = int(reader.Bits(2)) + 4;
            const unsigned colour = reader.Bits(4);
            Run(x, y, run, clut4[colour], clip);
            x += run;
        } else {
            switch (reader.Bits(2)) { // switch_3
            case 0:
                Run(x, y, 1, 0, clip);
                x += 1;
                break;
            case 1:
                Run(x, y, 2, 0, clip);
                x += 2;
                break;
            case 2: {
                const int run = int(reader.Bits(4)) + 9;
                const unsigned colour = reader.Bits(4);
                Run(x, y, run, clut4[colour], clip);
                x += run;
                break;
            }
            default: {
                const int run = int(reader.Bits(8)) + 25;
                const unsigned colour = reader.Bits(4);
                Run(x, y, run, clut4[colour], clip);
                x += run;
                break;
            }
            }
        }
    }
    reader.AlignToByte();
}

// 2-bit and 8-bit strings are not drawn; they are walked so that the blocks after them are found and
// the pixels after them land where they belong.
void CSubtitleCanvas::SkipTwoBitString(base::CByteReader& reader, int& x)
{
    for (;;) {
        if (reader.Bits(2) != 0) {
            x += 1;
            continue;
        }
        if (reader.Bit()) { // switch_1
            x += int(reader.Bits(3)) + 3;
            reader.Bits(2);
        } else if (reader.Bit()) { // switch_2
            x += 1;
        } else {
            const unsigned switch3 = reader.Bits(2);
            if (switch3 == 0)
                break;
            if (switch3 == 1) {
                x += 2;
            } else if (switch3 == 2) {
                x += int(reader.Bits(4)) + 12;
                reader.Bits(2);
            } else {
                x += int(reader.Bits(8)) + 29;
                reader.Bits(2);
            }
        }
    }
    reader.AlignToByte();
}

void CSubtitleCanvas::SkipEightBitString(base::CByteReader& reader, int& x)
{
    for (;;) {
        if (reader.Bits(8) != 0) {
            x += 1;
            continue;
        }
        if (!reader.Bit()) { // switch_1
            const unsigned run = reader.Bits(7);
            if (run == 0)
                break;
            x += int(run);
        } else {
            x += int(reader.Bits(7));
            reader.Bits(8);
        }
    }
    reader.AlignToByte();
}

} // namespace libDVB
