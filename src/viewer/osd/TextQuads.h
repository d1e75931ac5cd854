// The quads of a laid-out string in a widget's [-1, 1] square: aligned, clipped at the square's
// sides (and, for scrolling text, to a vertical band), faded near the edges.
#pragma once

#include <cstdint>
#include <functional>

#include "viewer/osd/DrawingSurface.h"

namespace OnScreenDisplay {

class COSDString;
class GlyphAtlas;

// Text alignment codes of every OSD text call; any other value counts as left.
enum TextAlign { AlignLeft = 1, AlignCentre = 2, AlignRight = 3 };

struct TextStyle {
    float aspect = 1.0f;      // the widget's width / height in pixels
    uint32_t colour = 0;      // ARGB; its alpha is the opacity
    int align = AlignLeft;
    float fadeStart = -1.0f;  // x positions in the square; -1 and 1 switch fading off
    float fadeEnd = 1.0f;
    bool banded = false;      // scrolling text: keep only what lies between the band's edges
    float bandTop = 1.0f, bandBottom = -1.0f;
};

// Batches of at most this many triangles go to the device at once.
constexpr unsigned kMaxTrianglesPerBatch = 202;

// Calls draw(page, vertices, triangles) for each batch, pages in order. Missing glyphs are added
// on the way. Nothing is drawn for an empty text or a size or aspect of 0 or below.
void BuildTextQuads(const COSDString& text, GlyphAtlas& font, const TextStyle& style,
                    const std::function<void(uint32_t page, const Vertex* vertices, unsigned triangles)>& draw);

} // namespace OnScreenDisplay
