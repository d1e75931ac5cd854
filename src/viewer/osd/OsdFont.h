// A font as the text widgets use it: its glyph atlas, to lay strings out, and a way to draw a
// laid-out string in the current widget's [-1, 1] square.
#pragma once

#include "viewer/osd/COSDString.h"
#include "viewer/osd/GlyphAtlas.h"
#include "viewer/osd/TextQuads.h"

namespace OnScreenDisplay {

class OsdFont {
public:
    virtual ~OsdFont() = default;
    virtual GlyphAtlas& Atlas() = 0;
    virtual void Draw(const COSDString& text, const TextStyle& style) = 0;
};

} // namespace OnScreenDisplay
