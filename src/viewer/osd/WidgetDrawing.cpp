#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

uint32_t OpacityColour(float alpha)
{
    if (!(alpha > 0.0f))
        alpha = 0.0f;
    if (alpha > 1.0f)
        alpha = 1.0f;
    return 0x00FFFFFFu | static_cast<uint32_t>(alpha * 255.0f) << 24;
}

void SetImageStages(DrawingSurface& surface)
{
    surface.SetStageState(0, StageState::ColourOp, OpSelectArg1);
    surface.SetStageState(0, StageState::ColourArg1, ArgTexture);
    surface.SetStageState(0, StageState::AlphaOp, OpModulate);
    surface.SetStageState(0, StageState::AlphaArg1, ArgDiffuse);
    surface.SetStageState(0, StageState::AlphaArg2, ArgTexture);
}

void SetVideoStages(DrawingSurface& surface)
{
    surface.SetStageState(0, StageState::ColourOp, OpSelectArg1);
    surface.SetStageState(0, StageState::ColourArg1, ArgTexture);
    surface.SetStageState(0, StageState::AlphaOp, OpSelectArg1);
    surface.SetStageState(0, StageState::AlphaArg1, ArgDiffuse);
}

// Stage 0 colour and alpha: texture x diffuse (a white skin image takes the vertex colour).
void SetModulateStages(DrawingSurface& surface)
{
    surface.SetStageState(0, StageState::ColourOp, OpModulate);
    surface.SetStageState(0, StageState::ColourArg1, ArgTexture);
    surface.SetStageState(0, StageState::ColourArg2, ArgDiffuse);
    surface.SetStageState(0, StageState::AlphaOp, OpModulate);
    surface.SetStageState(0, StageState::AlphaArg1, ArgTexture);
    surface.SetStageState(0, StageState::AlphaArg2, ArgDiffuse);
}

void SetDiffuseStages(DrawingSurface& surface)
{
    surface.SetStageState(0, StageState::ColourOp, OpSelectArg1);
    surface.SetStageState(0, StageState::ColourArg1, ArgDiffuse);
    surface.SetStageState(0, StageState::AlphaOp, OpSelectArg1);
    surface.SetStageState(0, StageState::AlphaArg1, ArgDiffuse);
}

void DrawQuad(DrawingSurface& surface, SurfaceTexture* texture, float left, float top, float right, float bottom,
              const FrameRect& r, uint32_t colour)
{
    const Vertex strip[4] = {{left, top, 0, colour, r.left, r.top},
                             {right, top, 0, colour, r.right, r.top},
                             {left, bottom, 0, colour, r.left, r.bottom},
                             {right, bottom, 0, colour, r.right, r.bottom}};
    surface.SetTexture(0, texture);
    surface.DrawTriangleStrip(strip, 2);
    surface.SetTexture(0, nullptr);
}

} // namespace OnScreenDisplay
