// How the owner configures the own video renderer: Direct3D objects, the presenter, the
// device-reset handshake and frame delivery on or off.
#pragma once

#include "media/filters/videorenderer/win/IHVRAllocPresenter.h"

namespace videorenderer {

// {7F5F168C-4292-460D-9528-425020C90135}
constexpr IID IID_IHVRConfig = {0x7f5f168c, 0x4292, 0x460d, {0x95, 0x28, 0x42, 0x50, 0x20, 0xc9, 0x01, 0x35}};

struct IHVRConfig : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetDirect3D(IDirect3D9* d3d) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** d3d) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDevice(IDirect3DDevice9* device) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAllocPresenter(IHVRAllocPresenter* presenter) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAllocPresenter(IHVRAllocPresenter** presenter) = 0;
    // The device is about to be reset: the renderer drops its default-pool objects and frames.
    virtual HRESULT STDMETHODCALLTYPE ReleaseDeviceObjects() = 0;
    // The device is back: the next frame rebuilds the objects.
    virtual HRESULT STDMETHODCALLTYPE DeviceRestored() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved(DWORD value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStreamingEvent(BOOL on) = 0;
};

} // namespace videorenderer
