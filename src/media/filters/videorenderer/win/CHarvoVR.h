// The own video renderer "Harvo Video Renderer": copies each frame into a Direct3D offscreen
// surface, stretches it into the texture its allocator-presenter supplies and tells the presenter
// the frame is ready; the viewer's render thread draws it. Configured through IHVRConfig.
//
// Locks, always in this order: the base renderer's interface lock, the presenter's device lock
// (LockDevice), this filter's own lock (m_filterLock, guarding the pointers, the two info records
// and the device state).
#pragma once

#include "dshow/CAMEvent.h"
#include "dshow/CBaseRenderer.h"
#include "media/filters/videorenderer/RendererFormat.h"
#include "media/filters/videorenderer/win/IHVRConfig.h"

namespace videorenderer {

// {D71E0FB2-8F2F-41D8-8B34-102A144DB637}
extern const CLSID CLSID_HarvoVideoRenderer;

class CHarvoVR : public dshow::CBaseRenderer, public IHVRConfig {
public:
    explicit CHarvoVR(IUnknown* owner = nullptr, HRESULT* result = nullptr);
    ~CHarvoVR() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // Reports the platform's Video Mixing Renderer 7, whose place this renderer takes.
    STDMETHODIMP GetClassID(CLSID* clsid) override;

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    HRESULT SetMediaType(const dshow::CMediaType* mt) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
    // A paused graph shows the picture it stands at: a sample that arrives while paused is
    // presented at once (and not again when the clock reaches it).
    HRESULT Receive(IMediaSample* sample) override;

    // IHVRConfig
    STDMETHODIMP SetDirect3D(IDirect3D9* d3d) override;
    STDMETHODIMP GetDirect3D(IDirect3D9** d3d) override;
    STDMETHODIMP SetDevice(IDirect3DDevice9* device) override;
    STDMETHODIMP GetDevice(IDirect3DDevice9** device) override;
    STDMETHODIMP SetAllocPresenter(IHVRAllocPresenter* presenter) override;
    STDMETHODIMP GetAllocPresenter(IHVRAllocPresenter** presenter) override;
    STDMETHODIMP ReleaseDeviceObjects() override;
    STDMETHODIMP DeviceRestored() override;
    STDMETHODIMP Reserved(DWORD) override { return S_OK; }
    STDMETHODIMP SetStreamingEvent(BOOL on) override;

    enum DeviceState : LONG { kDeviceNormal = 0, kDeviceLost = 1, kDeviceRestored = 2 };
    LONG DeviceStateForTest();
    double FrameRateEstimate();

private:
    // Copies the sample into the surface and hands it to the presenter; `presented` tells whether
    // it got that far.
    HRESULT RenderSample(IMediaSample* sample, bool* presented);
    HRESULT PrepareSurfaces(const dshow::CMediaType& mt, const RendererFormat& format);
    IHVRAllocPresenter* TakePresenter();

    IDirect3D9* m_d3d = nullptr;
    IDirect3DDevice9* m_device = nullptr;
    IHVRAllocPresenter* m_presenter = nullptr;
    IDirect3DSurface9* m_surface = nullptr;
    // Issued after each picture's copy to push it out of this thread's command buffer (null when
    // the device has no event queries).
    IDirect3DQuery9* m_flush = nullptr;
    IDirect3DTexture9* m_texture = nullptr;
    SurfaceInfo m_surfaceInfo = {};
    PresentInfo m_presentInfo = {};
    dshow::CCritSec m_filterLock;
    CFrameRateEstimate m_rate;
    RendererFormat m_format;
    PixelKind m_pixel = PixelKind::kOther;
    dshow::CMediaType m_mediaType;
    dshow::CAMEvent m_streaming{true};
    LONG m_deviceState = kDeviceNormal;
    IMediaSample* m_shownWhilePaused = nullptr; // the streaming thread's only, compared, never used
};

// Kinds of a media type's subtype and format type.
PixelKind PixelKindOf(const GUID& subtype);
FormatKind FormatKindOf(const GUID& formatType);

} // namespace videorenderer
