#include "viewer/osd/TextQuads.h"

#include <cmath>
#include <vector>

#include "viewer/osd/COSDString.h"
#include "viewer/osd/GlyphAtlas.h"

namespace OnScreenDisplay {

namespace {

uint32_t ScaleAlpha(uint32_t colour, double factor)
{
    if (!(factor > 0.0)) // NaN too: fade limits come from callers' arithmetic
        factor = 0.0;
    if (factor > 1.0)
        factor = 1.0;
    const uint32_t alpha = static_cast<uint32_t>((colour >> 24) * factor);
    return (colour & 0x00FFFFFFu) | (alpha << 24);
}

// One letter's quad, clipped and faded; false when nothing of it remains.
bool MakeQuad(float left, float top, float right, float bottom, const Glyph& g, const TextStyle& s, Vertex* v)
{
    if (left > 1.0f || right < -1.0f)
        return false;
    // The cut below divides by the band top's distance from the bottom edge: a band that is empty,
    // not a number or not above that edge keeps nothing of the letter.
    if (s.banded && !(s.bandTop > s.bandBottom && s.bandTop > -1.0f && std::isfinite(s.bandTop) &&
                      std::isfinite(s.bandBottom)))
        return false;
    float uLeft = g.uLeft, uRight = g.uRight, vTop = g.vTop, vBottom = g.vBottom;
    const float width = right - left;
    if (width <= 0)
        return false;
    const float originalRight = right;
    if (left < -1.0f) {
        uLeft = uRight - (uRight - uLeft) * (right + 1.0f) / width;
        left = -1.0f;
    }
    if (originalRight > 1.0f) {
        uRight = uLeft + (uRight - uLeft) * (1.0f - left) / (originalRight - left);
        right = 1.0f;
    }
    if (s.banded) {
        // Both formulas take the quad as reaching from 1 to -1, which holds for one-line strings.
        if (top > s.bandTop) {
            vTop = vTop + (vBottom - vTop) * (1.0f - s.bandTop) * 0.5f;
            top = s.bandTop;
        }
        if (bottom < s.bandBottom) {
            vBottom = vTop + (vBottom - vTop) * (s.bandTop - s.bandBottom) / (s.bandTop + 1.0f);
            bottom = s.bandBottom;
        }
    }
    uint32_t leftColour = s.colour, rightColour = s.colour;
    auto fade = [&](float x, uint32_t colour) {
        if (x < s.fadeStart && s.fadeStart > -1.0f)
            colour = ScaleAlpha(colour, (x + 1.0) / (s.fadeStart + 1.0));
        if (x > s.fadeEnd && s.fadeEnd < 1.0f)
            colour = ScaleAlpha(colour, 1.0 - (x - s.fadeEnd) / (1.0 - s.fadeEnd));
        return colour;
    };
    leftColour = fade(left, leftColour);
    rightColour = fade(right, rightColour);
    v[0] = {left, top, 0, leftColour, uLeft, vTop};
    v[1] = {left, bottom, 0, leftColour, uLeft, vBottom};
    v[2] = {right, top, 0, rightColour, uRight, vTop};
    v[3] = {left, bottom, 0, leftColour, uLeft, vBottom};
    v[4] = {right, top, 0, rightColour, uRight, vTop};
    v[5] = {right, bottom, 0, rightColour, uRight, vBottom};
    return true;
}

} // namespace

void BuildTextQuads(const COSDString& text, GlyphAtlas& font, const TextStyle& style,
                    const std::function<void(uint32_t, const Vertex*, unsigned)>& draw)
{
    const int width = text.GetWidth(), height = text.GetHeight();
    // An empty text measures 0 x 0. The aspect divides: a tiny one (a denormal passes a test of
    // its sign) makes the width infinite, and no quad of it could be placed.
    if (width <= 0 || height <= 0 || !(style.aspect > 0.0f))
        return;
    const float wq = 2.0f * (static_cast<float>(width) / height) / style.aspect;
    if (!std::isfinite(wq))
        return;
    const float sx = wq / width, sy = 2.0f / height;
    float offset = 0.0f;
    if (style.align == AlignCentre)
        offset = (2.0f - wq) / 2.0f;
    else if (style.align == AlignRight)
        offset = 2.0f - wq;

    std::vector<Vertex> batch;
    batch.reserve(6 * (kMaxTrianglesPerBatch / 2 + 1));
    const auto& groups = text.GetGroups();
    for (uint32_t page = 0; page < groups.size(); ++page) {
        if (groups[page].empty())
            continue;
        for (const COSDLetter& letter : groups[page]) {
            if (!font.EnsureGlyph(letter.c))
                continue;
            const Glyph& g = font.GetGlyph(letter.c);
            const float left = letter.x * sx + offset - 1.0f;
            const float top = 1.0f + letter.y * sy;
            Vertex quad[6];
            if (!MakeQuad(left, top, left + letter.w * sx, top - letter.h * sy, g, style, quad))
                continue;
            batch.insert(batch.end(), quad, quad + 6);
            if (batch.size() / 3 > kMaxTrianglesPerBatch - 2) {
                draw(page, batch.data(), static_cast<unsigned>(batch.size() / 3));
                batch.clear();
            }
        }
        if (!batch.empty()) {
            draw(page, batch.data(), static_cast<unsigned>(batch.size() / 3));
            batch.clear();
        }
    }
}

} // namespace OnScreenDisplay
