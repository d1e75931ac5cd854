// A radio list: one item checked; choosing one reports its code to the display's stream menu.
#pragma once

#include <string>

#include "viewer/osd/ControlList.h"
#include "viewer/osd/TileImage.h"

namespace OnScreenDisplay {

struct CheckListBoxItem {
    COSDString text;
    int value = 0;
    int checked = 0;
};

class CheckListBox : public ControlList<CheckListBoxItem> {
public:
    explicit CheckListBox(Component* parent = nullptr);
    ~CheckListBox() override;

    // Nothing without a font.
    void AddString(const std::u16string& text, int value, int checked);
    void SetCheckTexture(SkinTexture* texture) { AssignTexture(m_check, texture); }
    void SetHighlightTexture(SkinTexture* texture);
    void DrawItem(int index, float alpha, float left, float top, float right, float bottom) override;
    void OnItemActivated(int index) override;

private:
    SkinTexture* m_check = nullptr;
    TileImage* m_highlight;
};

} // namespace OnScreenDisplay
