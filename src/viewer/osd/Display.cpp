#include "viewer/osd/Display.h"

namespace OnScreenDisplay {

void Display::Render(float alpha)
{
    m_stack.LoadIdentity();
    Control::Render(alpha);
}

} // namespace OnScreenDisplay
