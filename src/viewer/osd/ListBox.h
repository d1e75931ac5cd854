// A two-column list (a short right-aligned first column and a text); choosing an item reports
// its two values to the display's list selection.
#pragma once

#include <string>

#include "viewer/osd/ControlList.h"
#include "viewer/osd/TileImage.h"

namespace OnScreenDisplay {

struct ListBoxItem {
    int value1 = 0;
    int value2 = 0;
    COSDString text1;
    COSDString text2;
};

class ListBox : public ControlList<ListBoxItem> {
public:
    explicit ListBox(Component* parent = nullptr);

    // Nothing without a font.
    void AddItem(const std::u16string& text1, const std::u16string& text2, int value1, int value2);
    void SetHighlightTexture(SkinTexture* texture);
    void DrawItem(int index, float alpha, float left, float top, float right, float bottom) override;
    void OnItemActivated(int index) override;

private:
    TileImage* m_highlight;
};

} // namespace OnScreenDisplay
