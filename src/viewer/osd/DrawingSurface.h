// The narrow drawing interface through which the OSD draws: a world transform, textures and their
// stage states, and triangle lists of quads. Direct3D 9 implements it on the real device; tests use
// a recording twin, so the tree, its transitions and its geometry run without a device.
#pragma once

#include <cstdint>

#include "viewer/osd/Matrix.h"

namespace OnScreenDisplay {

// Position, diffuse ARGB colour and one texture coordinate: the fixed-function vertex format the
// OSD draws with (XYZ | DIFFUSE | TEX1).
struct Vertex {
    float x, y, z;
    uint32_t colour;
    float u, v;
};

// The same with a second texture-coordinate pair (XYZ | DIFFUSE | TEX2): buttons cross-fade
// between two frames of one texture in one draw.
struct Vertex2 {
    float x, y, z;
    uint32_t colour;
    float u, v, u2, v2;
};

// A texture of the platform; the OSD only passes it on.
class SurfaceTexture;

// Texture-stage and render states the widgets change, numbered as Direct3D 9 numbers them so that
// the device implementation passes them through.
// Texture operations and arguments, numbered as Direct3D 9 numbers them.
enum StageOp : uint32_t { OpDisable = 1, OpSelectArg1 = 2, OpModulate = 4, OpBlendFactorAlpha = 14 };
enum StageArg : uint32_t { ArgDiffuse = 0, ArgCurrent = 1, ArgTexture = 2, ArgTFactor = 3 };

enum class StageState : uint32_t {
    ColourOp = 1,
    ColourArg1 = 2,
    ColourArg2 = 3,
    AlphaOp = 4,
    AlphaArg1 = 5,
    AlphaArg2 = 6,
    TexCoordIndex = 11,
};

enum class RenderState : uint32_t {
    TextureFactor = 60,
};

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual void SetWorldTransform(const Matrix& world) = 0;
    virtual void SetTexture(unsigned stage, SurfaceTexture* texture) = 0;
    virtual void SetStageState(unsigned stage, StageState state, uint32_t value) = 0;
    virtual void SetRenderState(RenderState state, uint32_t value) = 0;
    // Triangle list: three vertices per triangle.
    virtual void DrawTriangles(const Vertex* vertices, unsigned triangleCount) = 0;
    // Triangle strip: triangleCount + 2 vertices.
    virtual void DrawTriangleStrip(const Vertex* vertices, unsigned triangleCount) = 0;
    virtual void DrawTriangleStrip2(const Vertex2* vertices, unsigned triangleCount) = 0;
};

} // namespace OnScreenDisplay
