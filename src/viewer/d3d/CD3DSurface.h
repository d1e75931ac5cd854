// The OSD's drawing interface on a Direct3D 9 device. A surface texture is an
// IDirect3DBaseTexture9 of that device.
#pragma once

#include <d3d9.h>

#include "viewer/osd/DrawingSurface.h"

class CD3DSurface : public OnScreenDisplay::DrawingSurface {
public:
    void Attach(IDirect3DDevice9* device) { m_device = device; }

    void SetWorldTransform(const OnScreenDisplay::Matrix& world) override;
    void SetTexture(unsigned stage, OnScreenDisplay::SurfaceTexture* texture) override;
    void SetStageState(unsigned stage, OnScreenDisplay::StageState state, uint32_t value) override;
    void SetRenderState(OnScreenDisplay::RenderState state, uint32_t value) override;
    void DrawTriangles(const OnScreenDisplay::Vertex* vertices, unsigned triangleCount) override;
    void DrawTriangleStrip(const OnScreenDisplay::Vertex* vertices, unsigned triangleCount) override;
    void DrawTriangleStrip2(const OnScreenDisplay::Vertex2* vertices, unsigned triangleCount) override;

    static OnScreenDisplay::SurfaceTexture* FromTexture(IDirect3DBaseTexture9* texture)
    {
        return reinterpret_cast<OnScreenDisplay::SurfaceTexture*>(texture);
    }

private:
    void Draw(D3DPRIMITIVETYPE type, const OnScreenDisplay::Vertex* vertices, unsigned triangleCount);

    IDirect3DDevice9* m_device = nullptr;
};
