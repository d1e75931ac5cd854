#include "viewer/osd/Image.h"

#include "viewer/osd/Display.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

Image::~Image()
{
    AssignTexture(m_texture, nullptr);
}

void Image::Render(float alpha)
{
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    if (!surface)
        return;
    const FrameRect* frame = m_texture ? m_texture->GetFirstFrameRect() : nullptr;
    SetImageStages(*surface);
    DrawQuad(*surface, frame ? m_texture->GetSurfaceTexture() : nullptr, -1, 1, 1, -1,
             frame ? *frame : FrameRect{0, 0, 0, 0}, OpacityColour(alpha));
}

} // namespace OnScreenDisplay
