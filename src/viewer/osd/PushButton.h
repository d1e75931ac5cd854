// A button that latches down: pushed, it shows the pressed state while not focused.
#pragma once

#include "viewer/osd/Button.h"

namespace OnScreenDisplay {

class PushButton : public Button {
public:
    explicit PushButton(Component* parent = nullptr) : Button(parent) {}
    void SetPushed(bool pushed);
    bool IsPushed() const { return m_pushed; }
    void StateChanged() override;

protected:
    bool m_pushed = false;
};

} // namespace OnScreenDisplay
