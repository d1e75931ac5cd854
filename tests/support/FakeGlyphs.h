// Glyphs for native OSD text tests: a rasteriser of fixed metrics and pages that only count.
#pragma once

#include <string>
#include <vector>

#include "viewer/osd/GlyphAtlas.h"
#include "viewer/osd/OsdFont.h"

// Characters 20 pixels high and 10 wide ('W' 30), "x" included; drawing fills the cell white.
class FakeRasteriser : public OnScreenDisplay::GlyphRasteriser {
public:
    FakeRasteriser() : bitmap(OnScreenDisplay::GlyphAtlas::kSize * OnScreenDisplay::GlyphAtlas::kSize) {}
    bool Measure(const char16_t* text, int length, int* cx, int* cy) override
    {
        *cx = 0;
        for (int i = 0; i < length; ++i)
            *cx += Width(text[i]);
        *cy = length && !zeroHeight ? 20 : 0;
        return true;
    }
    void DrawGlyph(char16_t c, int x, int y) override
    {
        drawn.push_back(c);
        for (int j = y; j < y + 20; ++j)
            for (int i = x; i < x + Width(c); ++i)
                bitmap[j * OnScreenDisplay::GlyphAtlas::kSize + i] = 0xFFFFFFFF;
    }
    uint32_t* Bitmap() override { return bitmap.data(); }
    bool Placement(const std::u16string& text, std::u16string* out, std::vector<int>* advances) override
    {
        if (!shaping)
            return false;
        *out = text;
        advances->clear();
        for (char16_t c : text)
            advances->push_back(Width(c) + 1); // the shaper's spacing differs from the extents
        return true;
    }
    static int Width(char16_t c) { return c == u'W' ? 30 : 10; }

    std::vector<uint32_t> bitmap;
    std::u16string drawn;
    bool shaping = true;
    bool zeroHeight = false;
};

class FakePages : public OnScreenDisplay::GlyphPages {
public:
    bool CreatePage() override { return ++pages, true; }
    void UploadPage(const uint32_t*) override { ++uploads; }
    int PageCount() const override { return pages; }
    int pages = 0, uploads = 0;
};

// A font whose drawing is recorded: which string, in what style.
class RecordingFont : public OnScreenDisplay::OsdFont {
public:
    RecordingFont() : m_atlas(rasteriser, pages) { m_atlas.Initialize(32, 128); }
    OnScreenDisplay::GlyphAtlas& Atlas() override { return m_atlas; }
    void Draw(const OnScreenDisplay::COSDString& text, const OnScreenDisplay::TextStyle& style) override
    {
        draws.push_back({text.GetText(), style});
    }
    struct Drawn {
        std::u16string text;
        OnScreenDisplay::TextStyle style;
    };
    std::vector<Drawn> draws;
    FakeRasteriser rasteriser;
    FakePages pages;

private:
    OnScreenDisplay::GlyphAtlas m_atlas;
};
