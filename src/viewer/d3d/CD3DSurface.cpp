#include "viewer/d3d/CD3DSurface.h"

using namespace OnScreenDisplay;

static_assert(sizeof(Matrix) == sizeof(D3DMATRIX), "the OSD's matrices are laid out as Direct3D's");
static_assert(sizeof(Vertex) == 24, "XYZ | DIFFUSE | TEX1 vertices");
static_assert(sizeof(Vertex2) == 32, "XYZ | DIFFUSE | TEX2 vertices");
static_assert(static_cast<uint32_t>(StageState::TexCoordIndex) == D3DTSS_TEXCOORDINDEX, "stage states pass through");

void CD3DSurface::SetWorldTransform(const Matrix& world)
{
    if (m_device)
        m_device->SetTransform(D3DTS_WORLD, reinterpret_cast<const D3DMATRIX*>(&world));
}

void CD3DSurface::SetTexture(unsigned stage, SurfaceTexture* texture)
{
    if (m_device)
        m_device->SetTexture(stage, reinterpret_cast<IDirect3DBaseTexture9*>(texture));
}

void CD3DSurface::SetStageState(unsigned stage, StageState state, uint32_t value)
{
    if (m_device)
        m_device->SetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(state), value);
}

void CD3DSurface::SetRenderState(RenderState state, uint32_t value)
{
    if (m_device)
        m_device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), value);
}

void CD3DSurface::DrawTriangles(const Vertex* vertices, unsigned triangleCount)
{
    Draw(D3DPT_TRIANGLELIST, vertices, triangleCount);
}

void CD3DSurface::DrawTriangleStrip(const Vertex* vertices, unsigned triangleCount)
{
    Draw(D3DPT_TRIANGLESTRIP, vertices, triangleCount);
}

void CD3DSurface::DrawTriangleStrip2(const Vertex2* vertices, unsigned triangleCount)
{
    if (!m_device || !vertices || triangleCount == 0)
        return;
    m_device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX2);
    m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, triangleCount, vertices, sizeof(Vertex2));
}

void CD3DSurface::Draw(D3DPRIMITIVETYPE type, const Vertex* vertices, unsigned triangleCount)
{
    if (!m_device || !vertices || triangleCount == 0)
        return;
    m_device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    m_device->DrawPrimitiveUP(type, triangleCount, vertices, sizeof(Vertex));
}

static_assert(static_cast<uint32_t>(StageState::ColourOp) == D3DTSS_COLOROP, "stage states pass through");
static_assert(static_cast<uint32_t>(StageState::AlphaArg2) == D3DTSS_ALPHAARG2, "stage states pass through");
static_assert(static_cast<uint32_t>(RenderState::TextureFactor) == D3DRS_TEXTUREFACTOR, "render states pass through");
static_assert(static_cast<uint32_t>(OpBlendFactorAlpha) == static_cast<uint32_t>(D3DTOP_BLENDFACTORALPHA) &&
                  static_cast<uint32_t>(OpModulate) == static_cast<uint32_t>(D3DTOP_MODULATE),
              "ops pass through");
static_assert(ArgTexture == D3DTA_TEXTURE && ArgTFactor == D3DTA_TFACTOR, "arguments pass through");
