// A text wrapped into lines at word boundaries, drawn line by line in black.
#pragma once

#include <string>
#include <vector>

#include "viewer/osd/Control.h"
#include "viewer/osd/MemoLine.h"

namespace OnScreenDisplay {

class Memo : public Control {
public:
    explicit Memo(Component* parent = nullptr);

    void SetFont(OsdFont* font) { m_font = font; }
    // Stores the text and rewraps it to the current width.
    void SetText(const std::u16string& text);
    void Layout() override;
    void Render(float alpha) override;
    const std::vector<COSDString>& GetLines() const { return m_lines; }

    float m_lineHeight = 26.0f; // pixels before the OSD scale

private:
    void Wrap();

    MemoLine* m_lineControl;
    std::u16string m_text;
    std::vector<COSDString> m_lines;
    OsdFont* m_font = nullptr;
};

} // namespace OnScreenDisplay
