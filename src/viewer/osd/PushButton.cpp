#include "viewer/osd/PushButton.h"

namespace OnScreenDisplay {

void PushButton::SetPushed(bool pushed)
{
    m_pushed = pushed;
    StateChanged();
}

void PushButton::StateChanged()
{
    if (!m_enabled)
        SetState(Disabled);
    else if (!m_focused)
        SetState(m_pushed ? Pressed : Normal);
    else
        SetState(m_state == Pressed ? Pressed : Focused);
}

} // namespace OnScreenDisplay
