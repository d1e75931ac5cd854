// A row of tab buttons with separators, one latching tab down.
#pragma once

#include <string>

#include "viewer/osd/Control.h"
#include "viewer/osd/OsdFont.h"
#include "viewer/osd/SkinTexture.h"

namespace OnScreenDisplay {

class Tabs : public Control {
public:
    explicit Tabs(Component* parent = nullptr) : Control(parent) {}
    ~Tabs() override;

    // Textures of the first, second, third and every further tab.
    void SetTabTexture(int index, SkinTexture* texture);
    void SetSeparatorTexture(SkinTexture* texture) { AssignTexture(m_separator, texture); }
    void SetFont(OsdFont* font) { m_font = font; }

    // Nothing without a font.
    void AddTextButton(const std::u16string& text, int id);
    void AddPushTextButton(const std::u16string& text, int id);
    void AddSeparator();
    // Pushes the n-th latching tab (other children not counted) and releases the rest.
    void SelectTab(int n);
    void Layout() override;
    bool OnLButtonDown(uint32_t flags, int x, int y) override;

    // Pixels before the OSD scale.
    float m_tabWidth = 128.0f, m_separatorWidth = 2.0f, m_gap = 8.0f;

private:
    SkinTexture* NextTabTexture();

    SkinTexture* m_tabTextures[4] = {nullptr, nullptr, nullptr, nullptr};
    SkinTexture* m_separator = nullptr;
    OsdFont* m_font = nullptr;
    int m_nextTexture = 0;
};

} // namespace OnScreenDisplay
