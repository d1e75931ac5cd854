#include "media/filters/videorenderer/win/CHarvoVR.h"

#include <cstring>
#include <new>

#include "dshow/CAutoLock.h"
#include "dshow/VideoTypes.h"
#include "media/filters/videorenderer/win/CHarvoVRPin.h"

namespace videorenderer {

using dshow::CAutoLock;

const CLSID CLSID_HarvoVideoRenderer = {0xd71e0fb2, 0x8f2f, 0x41d8, {0x8b, 0x34, 0x10, 0x2a, 0x14, 0x4d, 0xb6, 0x37}};
// CLSID_VideoRendererDefault's VMR-7 {B87BEB7B-8D29-423F-AE4D-6582C10175AC}
static const CLSID kVideoMixingRenderer7 = {0xb87beb7b, 0x8d29, 0x423f, {0xae, 0x4d, 0x65, 0x82, 0xc1, 0x01, 0x75, 0xac}};

PixelKind PixelKindOf(const GUID& subtype)
{
    if (subtype == MEDIASUBTYPE_YUY2)
        return PixelKind::kYUY2;
    if (subtype == MEDIASUBTYPE_RGB32)
        return PixelKind::kRGB32;
    if (subtype == MEDIASUBTYPE_RGB24)
        return PixelKind::kRGB24;
    if (subtype == MEDIASUBTYPE_ARGB32)
        return PixelKind::kARGB32;
    if (subtype == MEDIASUBTYPE_RGB565)
        return PixelKind::kRGB565;
    if (subtype == MEDIASUBTYPE_RGB555)
        return PixelKind::kRGB555;
    return PixelKind::kOther;
}

FormatKind FormatKindOf(const GUID& formatType)
{
    if (formatType == FORMAT_VideoInfo)
        return FormatKind::kVideoInfo;
    if (formatType == FORMAT_MPEGVideo)
        return FormatKind::kMpegVideo;
    if (formatType == FORMAT_VideoInfo2)
        return FormatKind::kVideoInfo2;
    if (formatType == dshow::kFormatMpeg2Video)
        return FormatKind::kMpeg2Video;
    return FormatKind::kOther;
}

namespace {

D3DFORMAT SurfaceFormatOf(PixelKind pixel)
{
    switch (pixel) {
    case PixelKind::kYUY2: return D3DFMT_YUY2;
    case PixelKind::kRGB32: return D3DFMT_X8R8G8B8;
    case PixelKind::kRGB24: return D3DFMT_R8G8B8;
    case PixelKind::kARGB32: return D3DFMT_A8R8G8B8;
    case PixelKind::kRGB565: return D3DFMT_R5G6B5;
    case PixelKind::kRGB555: return D3DFMT_X1R5G5B5;
    default: return D3DFMT_UNKNOWN;
    }
}

template <class T>
void ReleaseAndClear(T*& p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}

template <class T>
HRESULT Replace(dshow::CCritSec* lock, T*& held, T* p)
{
    CAutoLock l(lock);
    if (p)
        p->AddRef();
    ReleaseAndClear(held);
    held = p;
    return S_OK;
}

template <class T>
HRESULT Hand(dshow::CCritSec* lock, T* held, T** out)
{
    if (!out)
        return E_POINTER;
    CAutoLock l(lock);
    *out = held;
    if (held)
        held->AddRef();
    return S_OK;
}

// Holds the presenter's device lock for a scope (taken after the interface lock, before ours).
class CDeviceLock {
public:
    explicit CDeviceLock(IHVRAllocPresenter* presenter) : m_presenter(presenter)
    {
        if (m_presenter)
            m_presenter->LockDevice();
    }
    ~CDeviceLock()
    {
        if (m_presenter)
            m_presenter->UnlockDevice();
    }

private:
    IHVRAllocPresenter* m_presenter;
};

} // namespace

CHarvoVR::CHarvoVR(IUnknown* owner, HRESULT* result)
    : CBaseRenderer(CLSID_HarvoVideoRenderer, L"Harvo Video Renderer", owner, result)
{
    HRESULT hr = S_OK;
    m_pInputPin = new (std::nothrow) CHarvoVRPin(this, &hr, L"Input");
    if (!m_pInputPin && result)
        *result = E_OUTOFMEMORY;
}

CHarvoVR::~CHarvoVR()
{
    ReleaseAndClear(m_flush);
    ReleaseAndClear(m_surface);
    ReleaseAndClear(m_texture);
    ReleaseAndClear(m_presenter);
    ReleaseAndClear(m_device);
    ReleaseAndClear(m_d3d);
}

STDMETHODIMP CHarvoVR::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IHVRConfig)
        return dshow::GetInterface(static_cast<IHVRConfig*>(this), ppv);
    return CBaseRenderer::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CHarvoVR::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = kVideoMixingRenderer7;
    return S_OK;
}

HRESULT CHarvoVR::CheckMediaType(const dshow::CMediaType* mt)
{
    {
        CAutoLock lock(&m_filterLock);
        if (!m_presenter)
            return E_FAIL;
    }
    if (*mt->Type() != MEDIATYPE_Video)
        return E_FAIL;
    const PixelKind pixel = PixelKindOf(*mt->Subtype());
    if (pixel != PixelKind::kYUY2 && pixel != PixelKind::kRGB32 && pixel != PixelKind::kARGB32 &&
        pixel != PixelKind::kRGB565 && pixel != PixelKind::kRGB555)
        return E_FAIL;
    // The format block is read as well: a type whose header the renderer cannot use is refused now,
    // not when its first frame arrives.
    RendererFormat format;
    if (ParseRendererFormat(FormatKindOf(*mt->FormatType()), pixel, mt->Format(), mt->FormatLength(), &format) != 0)
        return E_FAIL;
    return S_OK;
}

IHVRAllocPresenter* CHarvoVR::TakePresenter()
{
    CAutoLock lock(&m_filterLock);
    if (m_presenter)
        m_presenter->AddRef();
    return m_presenter;
}

HRESULT CHarvoVR::SetMediaType(const dshow::CMediaType* mt)
{
    const PixelKind pixel = PixelKindOf(*mt->Subtype());
    RendererFormat format;
    if (ParseRendererFormat(FormatKindOf(*mt->FormatType()), pixel, mt->Format(), mt->FormatLength(), &format) != 0)
        return E_FAIL;
    dshow::CMediaType copy(*mt);
    HRESULT hr = PrepareSurfaces(copy, format);
    if (FAILED(hr))
        return hr;
    CAutoLock lock(&m_filterLock);
    m_mediaType = copy;
    m_format = format;
    m_pixel = pixel;
    return S_OK;
}

HRESULT CHarvoVR::PrepareSurfaces(const dshow::CMediaType& mt, const RendererFormat& format)
{
    IHVRAllocPresenter* presenter = TakePresenter();
    HRESULT hr = S_OK;
    {
        CDeviceLock device(presenter);
        CAutoLock lock(&m_filterLock);
        if (!presenter || !m_presenter || !m_device)
            hr = E_FAIL;
        else {
            SurfaceInfo info = {};
            info.width = LONG(format.pictureWidth);
            info.height = LONG(format.pictureHeight);
            info.aspect = format.aspect;
            ReleaseAndClear(m_texture);
            hr = m_presenter->AllocateSurface(&info);
            if (SUCCEEDED(hr)) {
                m_texture = info.texture;
                info.texture = nullptr;
                const D3DFORMAT surfaceFormat = SurfaceFormatOf(PixelKindOf(*mt.Subtype()));
                if (surfaceFormat != D3DFMT_UNKNOWN) {
                    m_surfaceInfo = info;
                    ReleaseAndClear(m_surface);
                    hr = m_device->CreateOffscreenPlainSurface(format.pictureWidth, format.pictureHeight,
                                                              surfaceFormat, D3DPOOL_DEFAULT, &m_surface, nullptr);
                    if (!m_flush && FAILED(m_device->CreateQuery(D3DQUERYTYPE_EVENT, &m_flush)))
                        m_flush = nullptr;
                }
                if (SUCCEEDED(hr)) {
                    m_presentInfo.texture = m_texture;
                    SetRect(&m_presentInfo.source, 0, 0, LONG(format.pictureWidth), LONG(format.pictureHeight));
                    m_presentInfo.destination = m_presentInfo.source;
                }
            }
        }
    }
    if (presenter)
        presenter->Release();
    return hr;
}

HRESULT CHarvoVR::Receive(IMediaSample* sample)
{
    // The first picture after a start or a channel change is shown as it arrives, not only once
    // every renderer of the graph has its first sample, the graph runs and the clock reaches the
    // picture's time: the decoder's wait for an I-picture is not paid a second time on the clock.
    {
        CAutoLock lock(&m_InterfaceLock);
        bool presented = false;
        if (m_state == State_Paused && SUCCEEDED(RenderSample(sample, &presented)) && presented)
            m_shownWhilePaused = sample;
    }
    const HRESULT hr = CBaseRenderer::Receive(sample);
    m_shownWhilePaused = nullptr;
    return hr;
}

HRESULT CHarvoVR::DoRenderSample(IMediaSample* sample)
{
    if (sample == m_shownWhilePaused)
        return S_OK;
    bool presented = false;
    return RenderSample(sample, &presented);
}

HRESULT CHarvoVR::RenderSample(IMediaSample* sample, bool* presented)
{
    if (!m_streaming.Check())
        return S_OK;
    REFERENCE_TIME start = 0, stop = 0;
    {
        CAutoLock lock(&m_filterLock);
        if (!m_presenter)
            return S_OK;
        if (SUCCEEDED(sample->GetTime(&start, &stop)))
            m_rate.Update(start);
        else
            start = 0;
        if (m_deviceState == kDeviceLost)
            return S_OK;
    }
    LONG state;
    {
        CAutoLock lock(&m_filterLock);
        state = m_deviceState;
    }
    if (state == kDeviceRestored) {
        dshow::CMediaType current;
        {
            CAutoLock lock(&m_filterLock);
            current = m_mediaType;
        }
        HRESULT hr = SetMediaType(&current);
        if (FAILED(hr))
            return hr;
        CAutoLock lock(&m_filterLock);
        if (m_deviceState == kDeviceRestored)
            m_deviceState = kDeviceNormal;
    }

    IHVRAllocPresenter* presenter = TakePresenter();
    if (!presenter)
        return S_OK;
    {
        CDeviceLock device(presenter);
        CAutoLock lock(&m_filterLock);
        // Checked again under both locks: the owner may have released the objects meanwhile.
        if (m_deviceState == kDeviceNormal && m_surface && m_texture && m_presenter) {
            m_presenter->Reserved();
            m_presentInfo.frameRate = m_rate.Value();
            m_presentInfo.startTime = start;
            RECT source;
            SetRect(&source, 0, 0, LONG(m_format.pictureWidth), LONG(m_format.pictureHeight));
            D3DLOCKED_RECT locked = {};
            BYTE* data = nullptr;
            CopyPlan plan;
            if (SUCCEEDED(sample->GetPointer(&data)) &&
                PlanRowCopy(m_format, m_pixel, size_t(sample->GetActualDataLength() > 0 ? sample->GetActualDataLength() : 0),
                            0x7FFFFFFF, &plan) == 0 &&
                m_surface->LockRect(&locked, &source, 0) == S_OK) {
                if (PlanRowCopy(m_format, m_pixel, size_t(sample->GetActualDataLength()), size_t(locked.Pitch), &plan) == 0) {
                    const BYTE* row = data + plan.firstRow;
                    BYTE* dst = static_cast<BYTE*>(locked.pBits);
                    for (uint32_t r = 0; r < plan.rows; ++r) {
                        std::memcpy(dst, row, plan.copyLength);
                        dst += locked.Pitch;
                        row = plan.bottomUp ? row - plan.rowLength : row + plan.rowLength;
                    }
                }
                m_surface->UnlockRect();
                IDirect3DSurface9* level = nullptr;
                if (SUCCEEDED(m_texture->GetSurfaceLevel(0, &level))) {
                    m_device->StretchRect(m_surface, &source, level, &source, D3DTEXF_NONE);
                    level->Release();
                }
                // The copy is made on this streaming thread and drawn by another; a device that keeps
                // a command buffer per thread (Wine's without its command-stream thread) would hold
                // a paused picture, the last one sent, until this thread's next picture.
                if (m_flush) {
                    m_flush->Issue(D3DISSUE_END);
                    m_flush->GetData(nullptr, 0, D3DGETDATA_FLUSH);
                }
                m_presenter->PresentSample(&m_presentInfo);
                *presented = true;
            }
        }
    }
    presenter->Release();
    return S_OK;
}

STDMETHODIMP CHarvoVR::SetDirect3D(IDirect3D9* d3d) { return Replace(&m_filterLock, m_d3d, d3d); }
STDMETHODIMP CHarvoVR::GetDirect3D(IDirect3D9** d3d) { return Hand(&m_filterLock, m_d3d, d3d); }
STDMETHODIMP CHarvoVR::SetDevice(IDirect3DDevice9* device) { return Replace(&m_filterLock, m_device, device); }
STDMETHODIMP CHarvoVR::GetDevice(IDirect3DDevice9** device) { return Hand(&m_filterLock, m_device, device); }
STDMETHODIMP CHarvoVR::SetAllocPresenter(IHVRAllocPresenter* presenter)
{
    return Replace(&m_filterLock, m_presenter, presenter);
}
STDMETHODIMP CHarvoVR::GetAllocPresenter(IHVRAllocPresenter** presenter)
{
    return Hand(&m_filterLock, m_presenter, presenter);
}

STDMETHODIMP CHarvoVR::ReleaseDeviceObjects()
{
    IHVRAllocPresenter* presenter = TakePresenter();
    HRESULT hr = S_OK;
    {
        CDeviceLock device(presenter);
        CAutoLock lock(&m_filterLock);
        if (m_deviceState != kDeviceNormal) {
            hr = E_UNEXPECTED;
        } else {
            m_deviceState = kDeviceLost;
            ReleaseAndClear(m_flush);
            ReleaseAndClear(m_surface);
            ReleaseAndClear(m_texture);
            m_presentInfo.texture = nullptr;
        }
    }
    if (presenter)
        presenter->Release();
    return hr;
}

STDMETHODIMP CHarvoVR::DeviceRestored()
{
    CAutoLock lock(&m_filterLock);
    if (m_deviceState != kDeviceLost)
        return E_UNEXPECTED;
    m_deviceState = kDeviceRestored;
    return S_OK;
}

STDMETHODIMP CHarvoVR::SetStreamingEvent(BOOL on)
{
    if (on)
        m_streaming.Set();
    else
        m_streaming.Reset();
    return S_OK;
}

LONG CHarvoVR::DeviceStateForTest()
{
    CAutoLock lock(&m_filterLock);
    return m_deviceState;
}

double CHarvoVR::FrameRateEstimate()
{
    CAutoLock lock(&m_filterLock);
    return m_rate.Value();
}

} // namespace videorenderer
