// A button with a centred caption; pressed, the caption sinks by 5 % of its height.
#pragma once

#include <string>

#include "viewer/osd/Button.h"
#include "viewer/osd/Label.h"

namespace OnScreenDisplay {

class TextButton : public Button {
public:
    explicit TextButton(Component* parent = nullptr);
    void SetText(const std::u16string& text) { m_caption->SetText(text); }
    Label* Caption() const { return m_caption; }
    void Layout() override;
    void Render(float alpha) override;

    float m_captionRatio = 0.6f; // of the button's height

private:
    Label* m_caption;
};

// Shared by the text buttons: the caption centred at ratio x the button's height, and drawn a
// little lower while the button is pressed.
void LayoutCaption(Control& button, Label& caption, float ratio);
void DrawCaption(Control& button, Label& caption, bool pressed, float alpha);

} // namespace OnScreenDisplay
