// A row of column titles over a grey bar, with separators between the columns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "viewer/osd/Label.h"
#include "viewer/osd/SkinTexture.h"

namespace OnScreenDisplay {

class Header : public Control {
public:
    struct HeaderItem {
        COSDString text;
        float width; // pixels before the OSD scale
    };

    explicit Header(Component* parent = nullptr);
    ~Header() override;

    void SetFont(OsdFont* font);
    void SetSeparatorTexture(SkinTexture* texture) { AssignTexture(m_separator, texture); }
    void AddItem(const std::u16string& text, float width);
    void ClearItems() { m_items.clear(); }
    const std::vector<HeaderItem>& Items() const { return m_items; }
    void Render(float alpha) override;

    float m_separatorWidth = 2.0f / 33.0f; // of the height
    uint32_t m_barColour = 0xFF808080;
    static constexpr int kMaxSeparators = 20;

private:
    SkinTexture* m_separator = nullptr;
    Label* m_label;
    OsdFont* m_font = nullptr;
    std::vector<HeaderItem> m_items;
};

} // namespace OnScreenDisplay
