// One wrapped line of a memo, drawn in a band so that a scrolled line is cut at the memo's edges.
#pragma once

#include <cstdint>

#include "viewer/osd/Control.h"
#include "viewer/osd/OsdFont.h"

namespace OnScreenDisplay {

class MemoLine : public Control {
public:
    explicit MemoLine(Component* parent = nullptr) : Control(parent) {}
    void Render(float alpha) override;

    OsdFont* m_font = nullptr;
    const COSDString* m_line = nullptr; // owned by the memo
    int m_alignment = AlignLeft;
    uint32_t m_colour = 0;
    float m_fadeStart = -1.0f, m_fadeEnd = 1.0f, m_bandTop = 1.0f, m_bandBottom = -1.0f;
};

} // namespace OnScreenDisplay
