// Lays out and builds the quads of arbitrary UTF-16 texts (channel names and guide texts come from
// the air) in a font whose glyph sizes the input also chooses: every vertex must be finite and
// inside what the batch holds.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "viewer/osd/COSDString.h"
#include "viewer/osd/GlyphAtlas.h"
#include "viewer/osd/TextQuads.h"

using namespace OnScreenDisplay;

namespace {

class InputRasteriser : public GlyphRasteriser {
public:
    InputRasteriser() : m_bitmap(GlyphAtlas::kSize * GlyphAtlas::kSize) {}
    void Reset(uint8_t widthSeed, uint8_t heightSeed)
    {
        m_widthSeed = widthSeed;
        m_height = heightSeed % 80; // 0 included: a font that measures nothing
    }
    bool Measure(const char16_t* text, int length, int* cx, int* cy) override
    {
        int w = 0;
        for (int i = 0; i < length; ++i)
            w += Width(text[i]);
        *cx = w;
        *cy = length ? m_height : 0;
        return true;
    }
    void DrawGlyph(char16_t c, int x, int y) override
    {
        for (int j = y; j < y + m_height && j < GlyphAtlas::kSize; ++j)
            for (int i = x; i < x + Width(c) && i < GlyphAtlas::kSize; ++i)
                m_bitmap[j * GlyphAtlas::kSize + i] = 0xFFFFFFFF;
    }
    uint32_t* Bitmap() override { return m_bitmap.data(); }
    bool Placement(const std::u16string& text, std::u16string* out, std::vector<int>* advances) override
    {
        if (m_widthSeed & 1)
            return false;
        // Like the platform's shaper, it may return fewer units than it was given.
        *out = text.substr(0, text.size() - text.size() / 4);
        advances->clear();
        for (char16_t c : *out)
            advances->push_back(Width(c) - 1);
        return true;
    }

private:
    int Width(char16_t c) const { return (c * (m_widthSeed | 1)) % 40; }
    std::vector<uint32_t> m_bitmap;
    uint8_t m_widthSeed = 0;
    int m_height = 20;
};

class CountingPages : public GlyphPages {
public:
    bool CreatePage() override { return m_pages < 64 ? (++m_pages, true) : false; }
    void UploadPage(const uint32_t*) override {}
    int PageCount() const override { return m_pages; }

private:
    int m_pages = 0;
};

float FloatFrom(const uint8_t* p)
{
    float f;
    std::memcpy(&f, p, sizeof f);
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 14)
        return 0;
    // A fresh atlas per input: glyph placement depends on what came before.
    InputRasteriser rasteriser;
    rasteriser.Reset(data[0], data[1]);
    CountingPages pages;
    GlyphAtlas atlas(rasteriser, pages);
    if (!atlas.Initialize(32, 128))
        return 0;
    TextStyle style;
    style.aspect = FloatFrom(data + 2);
    style.fadeStart = FloatFrom(data + 6);
    style.fadeEnd = FloatFrom(data + 10);
    style.align = data[0] >> 4;
    style.colour = 0xFF000000u | data[1];
    style.banded = (data[0] & 2) != 0;
    style.bandTop = style.fadeEnd;
    style.bandBottom = style.fadeStart;
    std::u16string text;
    for (size_t i = 14; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    COSDString s;
    s.Layout(atlas, text);
    BuildTextQuads(s, atlas, style, [&](uint32_t page, const Vertex* v, unsigned triangles) {
        if (triangles == 0 || triangles > kMaxTrianglesPerBatch || page >= static_cast<uint32_t>(pages.PageCount()))
            __builtin_trap();
        for (unsigned i = 0; i < 3 * triangles; ++i) {
            if (!std::isfinite(v[i].x) || !std::isfinite(v[i].y) || !std::isfinite(v[i].u) || !std::isfinite(v[i].v))
                __builtin_trap();
        }
    });
    return 0;
}
