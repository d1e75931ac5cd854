#include "viewer/osd/Video.h"

#include "viewer/osd/Display.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

void Video::Render(float alpha)
{
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    VideoSource* source = m_display ? m_display->GetVideoSource() : nullptr;
    if (!surface || !source)
        return;
    // The render thread holds the device lock; the table's lock comes next, then the stream's.
    source->LockTable();
    SurfaceTexture* texture = nullptr;
    FrameRect rect{0, 0, 1, 1};
    if (m_slot >= 0 && m_slot < kSlots && source->LockStream(m_slot, &texture, &rect)) {
        SetVideoStages(*surface);
        DrawQuad(*surface, texture, -1, 1, 1, -1, rect, OpacityColour(alpha));
        source->UnlockStream(m_slot);
    }
    source->UnlockTable();
}

} // namespace OnScreenDisplay
