// The interface between the own video renderer and the allocator-presenters that own the
// textures the viewer draws, with the two records the renderer passes through it.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <strmif.h>

namespace videorenderer {

// What the renderer asks for and what the presenter allocated.
struct SurfaceInfo {
    LONG width;               // picture width in pixels
    LONG height;              // picture height in pixels
    DWORD textureWidth;       // written by the presenter: the power of two it allocated
    DWORD textureHeight;
    DWORD reserved1;
    DWORD reserved2;
    double aspect;            // picture width / height from the media format; 0 when unknown
    IDirect3DTexture9* texture; // written by the presenter, one reference for the caller
    DWORD reserved3;
};

// A frame that is ready in the presenter's texture.
struct PresentInfo {
    RECT source;
    RECT destination;
    DWORD reserved;
    IDirect3DTexture9* texture;
    double frameRate;         // the renderer's estimate, frames per second
    REFERENCE_TIME startTime; // of the frame's sample; 0 when it had none
};

// {86D742A9-7149-45E3-B36B-94F0C7A8AAF1}
constexpr IID IID_IHVRAllocPresenter = {0x86d742a9, 0x7149, 0x45e3, {0xb3, 0x6b, 0x94, 0xf0, 0xc7, 0xa8, 0xaa, 0xf1}};

struct IHVRAllocPresenter : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE AllocateSurface(SurfaceInfo* info) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved() = 0;
    virtual HRESULT STDMETHODCALLTYPE PresentSample(PresentInfo* info) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockDevice() = 0;
    virtual HRESULT STDMETHODCALLTYPE UnlockDevice() = 0;
};

} // namespace videorenderer
