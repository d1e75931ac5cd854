// The drawing rules the picture widgets share: white vertices whose alpha is the opacity, colour
// from the texture, alpha = diffuse x texture, and no texture left bound afterwards.
#pragma once

#include <cstdint>

#include "viewer/osd/DrawingSurface.h"
#include "viewer/osd/TextureLayout.h"

namespace OnScreenDisplay {

// 0x00FFFFFF with alpha x 255 (truncated, alpha clamped to 0..1) in the top byte.
uint32_t OpacityColour(float alpha);
// Stage 0: colour from the texture; alpha from diffuse x texture.
void SetImageStages(DrawingSurface& surface);
// Stage 0: colour from the texture, alpha from the vertex only (video has no alpha).
void SetVideoStages(DrawingSurface& surface);
// Stage 0 colour and alpha: texture x diffuse (a white image takes the vertex colour).
void SetModulateStages(DrawingSurface& surface);
// Stage 0: no texture; colour and alpha from the vertices.
void SetDiffuseStages(DrawingSurface& surface);
// A plain quad from (left, top) to (right, bottom) in the unit square, textured with rect.
void DrawQuad(DrawingSurface& surface, SurfaceTexture* texture, float left, float top, float right, float bottom,
              const FrameRect& rect, uint32_t colour);

} // namespace OnScreenDisplay
