// A latching button with a caption (the tabs of the guide and list headers).
#pragma once

#include <string>

#include "viewer/osd/Label.h"
#include "viewer/osd/PushButton.h"

namespace OnScreenDisplay {

class PushTextButton : public PushButton {
public:
    explicit PushTextButton(Component* parent = nullptr);
    void SetText(const std::u16string& text) { m_caption->SetText(text); }
    Label* Caption() const { return m_caption; }
    void Layout() override;
    void Render(float alpha) override;

    static constexpr float kCaptionRatio = 0.8f;

private:
    Label* m_caption;
};

} // namespace OnScreenDisplay
