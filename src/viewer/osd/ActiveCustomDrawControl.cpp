#include "viewer/osd/ActiveCustomDrawControl.h"

#include "viewer/osd/Display.h"

namespace OnScreenDisplay {

bool ActiveCustomDrawControl::OnMouseMove(uint32_t, int x, int y)
{
    const float w = m_rect.Width(), h = m_rect.Height();
    ViewerHost* host = m_display ? m_display->GetHost() : nullptr;
    if (host && w > 0 && h > 0)
        host->PostPointerPosition(static_cast<int>(x / w * 10000), static_cast<int>(y / h * 10000));
    return true;
}

bool ActiveCustomDrawControl::OnLButtonDown(uint32_t, int x, int y)
{
    const float w = m_rect.Width(), h = m_rect.Height();
    ViewerHost* host = m_display ? m_display->GetHost() : nullptr;
    if (!host || !(w > 0) || !(h > 0))
        return false;
    return host->TeletextClick(x / w, y / h);
}

} // namespace OnScreenDisplay
