#include "viewer/d3d/CD3DHandler.h"

#include "viewer/osd/Matrix.h"

CD3DHandler* theD3DHandler = nullptr;

CD3DHandler::CD3DHandler()
{
    m_renderEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ResetEvent(m_renderEvent);
    theD3DHandler = this;
}

CD3DHandler::~CD3DHandler()
{
    ReleaseDevice();
    if (theD3DHandler == this)
        theD3DHandler = nullptr;
    if (m_renderEvent)
        CloseHandle(m_renderEvent);
}

UINT CD3DHandler::ChooseAdapter(HMONITOR windowMonitor, const std::vector<HMONITOR>& adapterMonitors)
{
    for (size_t i = 0; i < adapterMonitors.size(); ++i) {
        if (adapterMonitors[i] == windowMonitor)
            return static_cast<UINT>(i);
    }
    return D3DADAPTER_DEFAULT;
}

HRESULT CD3DHandler::Create(HWND owner, HWND window)
{
    base::CScopedLock lock(m_deviceLock);
    m_owner = owner;
    m_window = window;
    if (m_device) {
        m_surface.Attach(nullptr);
        m_device->Release();
        m_device = nullptr;
    }
    if (m_d3d) {
        m_d3d->Release();
        m_d3d = nullptr;
    }
    m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!m_d3d)
        return E_FAIL;
    InitPresentParameters();

    std::vector<HMONITOR> monitors;
    for (UINT i = 0; i < m_d3d->GetAdapterCount(); ++i)
        monitors.push_back(m_d3d->GetAdapterMonitor(i));
    const UINT adapter = ChooseAdapter(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), monitors);

    const HRESULT hr = m_d3d->CreateDevice(adapter, D3DDEVTYPE_HAL, window,
                                           D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED,
                                           &m_presentParameters, &m_device);
    if (FAILED(hr)) {
        m_device = nullptr;
        m_d3d->Release();
        m_d3d = nullptr;
        return hr;
    }
    m_surface.Attach(m_device);
    SetDefaultStates();
    return S_OK;
}

void CD3DHandler::InitPresentParameters()
{
    // The back buffer has the primary screen's size whatever the window's, so resizing the window
    // never resets the device. The render thread draws only the part the client area covers and
    // presents that part unscaled: the software rasteriser's cost grows with the pixels drawn.
    m_presentParameters = D3DPRESENT_PARAMETERS{};
    m_presentParameters.BackBufferWidth = GetSystemMetrics(SM_CXSCREEN);
    m_presentParameters.BackBufferHeight = GetSystemMetrics(SM_CYSCREEN);
    m_presentParameters.BackBufferFormat = D3DFMT_UNKNOWN;
    m_presentParameters.BackBufferCount = 1;
    m_presentParameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    m_presentParameters.SwapEffect = D3DSWAPEFFECT_COPY;
    m_presentParameters.hDeviceWindow = m_window;
    m_presentParameters.Windowed = TRUE;
    m_presentParameters.EnableAutoDepthStencil = FALSE;
    m_presentParameters.Flags = D3DPRESENTFLAG_DEVICECLIP | D3DPRESENTFLAG_VIDEO;
    m_presentParameters.FullScreen_RefreshRateInHz = 0;
    m_presentParameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
}

void CD3DHandler::SetDefaultStates()
{
    using namespace OnScreenDisplay;
    IDirect3DDevice9* d = m_device;
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_CLIPPING, FALSE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    // Pixels of alpha 0 never touch the picture.
    d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHAREF, 1);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    for (DWORD sampler = 0; sampler < 2; ++sampler) {
        d->SetSamplerState(sampler, D3DSAMP_ADDRESSU, D3DTADDRESS_BORDER);
        d->SetSamplerState(sampler, D3DSAMP_ADDRESSV, D3DTADDRESS_BORDER);
        d->SetSamplerState(sampler, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(sampler, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(sampler, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    }
    const Matrix identity = Matrix::Identity();
    d->SetTransform(D3DTS_WORLD, reinterpret_cast<const D3DMATRIX*>(&identity));
    // The eye sits 1 / tan(pi / 8) in front of the plane z = 0, so that with a 45-degree field of
    // view the square [-1, 1] x [-1, 1] fills the viewport exactly.
    const Matrix view = LookAtLH({0.0f, 0.0f, -2.4142137f}, {0.0f, 0.0f, 5.0f}, {0.0f, 1.0f, 0.0f});
    d->SetTransform(D3DTS_VIEW, reinterpret_cast<const D3DMATRIX*>(&view));
    const Matrix projection = PerspectiveFovLH(3.14159265f / 4.0f, 1.0f, 1.0f, 100.0f);
    d->SetTransform(D3DTS_PROJECTION, reinterpret_cast<const D3DMATRIX*>(&projection));
}

HRESULT CD3DHandler::SetClientSize(int cx, int cy)
{
    base::CScopedLock lock(m_deviceLock);
    m_clientRect = RECT{0, 0, cx, cy};
    return S_OK;
}

RECT CD3DHandler::DrawnArea() const
{
    const LONG width = static_cast<LONG>(m_presentParameters.BackBufferWidth);
    const LONG height = static_cast<LONG>(m_presentParameters.BackBufferHeight);
    if (m_clientRect.right <= 0 || m_clientRect.bottom <= 0)
        return RECT{0, 0, width, height};
    return RECT{0, 0, m_clientRect.right < width ? m_clientRect.right : width,
                m_clientRect.bottom < height ? m_clientRect.bottom : height};
}

HRESULT CD3DHandler::ReleaseDevice()
{
    base::CScopedLock lock(m_deviceLock);
    m_surface.Attach(nullptr);
    if (m_device) {
        m_device->Release();
        m_device = nullptr;
    }
    if (m_d3d) {
        m_d3d->Release();
        m_d3d = nullptr;
    }
    return S_OK;
}
