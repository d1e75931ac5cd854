// What a widget needs of a skin texture: its frames, their sizes, its hit area and the platform
// texture to bind. Textures are shared by reference count; a widget that keeps one holds a
// reference.
#pragma once

#include "viewer/osd/DrawingSurface.h"
#include "viewer/osd/TextureLayout.h"

namespace OnScreenDisplay {

class SkinTexture {
public:
    virtual long AddRef() = 0;
    virtual long Release() = 0;
    virtual const FrameRect* GetFrameRect(int i) const = 0;
    const FrameRect* GetFirstFrameRect() const { return GetFrameRect(0); }
    virtual int GetFrameCount() const = 0;
    virtual int GetContentWidth() const = 0;
    virtual int GetFrameContentHeight() const = 0;
    virtual double GetAspect() const = 0;
    // fx, fy: fractions of frame `frame`.
    virtual bool HitTest(int frame, float fx, float fy) const = 0;
    virtual SurfaceTexture* GetSurfaceTexture() const = 0;
    // False for an empty texture nothing has been put into yet.
    virtual bool HasContent() const = 0;

protected:
    virtual ~SkinTexture() = default;
};

// Replaces a held reference: adds one to the new texture and releases the old.
inline void AssignTexture(SkinTexture*& held, SkinTexture* texture)
{
    if (texture)
        texture->AddRef();
    if (held)
        held->Release();
    held = texture;
}

// The platform's empty texture that an owner fills with bitmaps later (teletext pages,
// subtitles). Installed by the platform layer; without one, such widgets have no texture.
using EmptyTextureFactory = SkinTexture* (*)();
void SetEmptyTextureFactory(EmptyTextureFactory factory);
SkinTexture* CreateEmptyTexture();

} // namespace OnScreenDisplay
