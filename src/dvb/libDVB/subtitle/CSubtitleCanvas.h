// Draws DVB subtitle display sets (ETSI EN 300 743) into a 720 x 576 32-bit bottom-up bitmap:
// regions in page-composition order, objects from their run-length coded pixel data, every pixel
// clipped to its region and to the bitmap.
#pragma once

#include <cstdint>

#include "base/ByteReader.h"
#include "dvb/libDVB/subtitle/CSubtitleDisplaySet.h"
#include "dvb/libDVB/subtitle/CSubtitleSurface.h"

namespace libDVB {

class CSubtitleCanvas {
public:
    static constexpr int kWidth = CSubtitleSurface::kWidth;
    static constexpr int kHeight = CSubtitleSurface::kHeight;
    // Y 16, Cr 128, Cb 128 (black) is shown as translucent black.
    static constexpr uint32_t kOpaqueBlack = 0xFF101010u;
    static constexpr uint32_t kTranslucentBlack = 0xB0000000u;

    explicit CSubtitleCanvas(uint32_t* pixels) : m_pixels(pixels) {}

    // Clears what the last drawing touched (the whole bitmap the first time).
    void Clear();
    // Clears the bitmap and draws the set.
    void Draw(const CSubtitleDisplaySet& set);
    // The pixel at (x, y), y counted from the top.
    uint32_t Pixel(int x, int y) const { return m_pixels[(kHeight - 1 - y) * kWidth + x]; }

private:
    struct CClip {
        int left, top, right, bottom; // right and bottom exclusive
    };

    void DrawObject(const CSubtitleDisplaySet::CObject& object, int x, int y, const uint32_t* clut4, const CClip& clip);
    void DrawField(const uint8_t* data, uint32_t size, int x, int y, const uint32_t* clut4, const CClip& clip);
    void FourBitString(base::CByteReader& reader, int& x, int y, const uint32_t* clut4, const CClip& clip);
    static void SkipTwoBitString(base::CByteReader& reader, int& x);
    static void SkipEightBitString(base::CByteReader& reader, int& x);
    void Run(int x, int y, int count, uint32_t colour, const CClip& clip);

    uint32_t* m_pixels;
    // The rows (top-down, bottom exclusive) that may hold drawn pixels.
    int m_dirtyTop = 0;
    int m_dirtyBottom = kHeight;
};

} // namespace libDVB
