// One slot of the video-stream table: the texture a presenter fills, the part of it that holds the
// picture (texture coordinates) and the picture's aspect ratio. The drawing code takes the
// stream's lock while it reads it; the stream's own operations do not.
#pragma once

#include <d3d9.h>

#include "dshow/CCritSec.h"

namespace videorenderer {

struct TextureRect {
    float left = 0, top = 0, right = 0, bottom = 0;
};

class CVideoStream {
public:
    CVideoStream() = default;
    virtual ~CVideoStream();
    CVideoStream(const CVideoStream&) = delete;
    CVideoStream& operator=(const CVideoStream&) = delete;

    // E_FAIL when active, E_POINTER for no texture; otherwise takes a reference and becomes active.
    HRESULT Attach(IDirect3DTexture9* texture, const TextureRect& rect, double aspect);
    // E_FAIL when inactive; otherwise replaces texture, rectangle and aspect.
    HRESULT Update(IDirect3DTexture9* texture, const TextureRect& rect, double aspect);
    // S_FALSE when inactive; otherwise drops the texture and becomes inactive.
    HRESULT Detach();

    dshow::CCritSec* Lock() { return &m_lock; }
    IDirect3DTexture9* Texture() const { return m_texture; }
    const TextureRect& Rect() const { return m_rect; }
    double Aspect() const { return m_aspect; }
    bool Active() const { return m_active; }

private:
    void Take(IDirect3DTexture9* texture, const TextureRect& rect, double aspect);

    IDirect3DTexture9* m_texture = nullptr;
    dshow::CCritSec m_lock;
    TextureRect m_rect;
    double m_aspect = 0.0;
    bool m_active = false;
};

} // namespace videorenderer
