// What the live and the file allocator-presenters share: the render-target texture they hand the
// renderer, their slot in the host's video-stream table, and the device lock.
#pragma once

#include "dshow/CUnknown.h"
#include "media/filters/videorenderer/win/CPresenterHost.h"
#include "media/filters/videorenderer/win/IHVRAllocPresenter.h"

namespace videorenderer {

class CAllocPresenter : public dshow::CUnknown, public IHVRAllocPresenter {
public:
    CAllocPresenter(const wchar_t* name, CPresenterHost* host);
    ~CAllocPresenter() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // A new black render-target texture of the next powers of two, placed in the table.
    STDMETHODIMP AllocateSurface(SurfaceInfo* info) override;
    STDMETHODIMP Reserved() override { return S_OK; }
    STDMETHODIMP LockDevice() override;
    STDMETHODIMP UnlockDevice() override;

    // For the owning playback object when the device is lost or the graph goes: the table slot is
    // removed and the texture released (under the device and table locks).
    void ReleaseTexture();
    int StreamIndex() const { return m_streamIndex; }
    UINT TextureWidth() const { return m_textureWidth; }
    UINT TextureHeight() const { return m_textureHeight; }

protected:
    CPresenterHost* m_host;

private:
    IDirect3DTexture9* m_texture = nullptr;
    int m_streamIndex = -1;
    UINT m_textureWidth = 0, m_textureHeight = 0;
};

} // namespace videorenderer
