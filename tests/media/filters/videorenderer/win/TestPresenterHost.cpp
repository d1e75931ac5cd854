#include "media/filters/videorenderer/win/TestPresenterHost.h"

#include <cstring>

namespace test {

CTestPresenterHost::CTestPresenterHost()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TolvikTestVideo";
    RegisterClassW(&wc);
    m_window = CreateWindowExW(0, wc.lpszClassName, L"video", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                               wc.hInstance, nullptr);
    m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!m_window || !m_d3d)
        return;
    D3DPRESENT_PARAMETERS pp = Parameters();
    if (FAILED(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window,
                                   D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &pp, &m_device)))
        m_device = nullptr;
}

CTestPresenterHost::~CTestPresenterHost()
{
    if (m_device)
        m_device->Release();
    if (m_d3d)
        m_d3d->Release();
    if (m_window)
        DestroyWindow(m_window);
}

D3DPRESENT_PARAMETERS CTestPresenterHost::Parameters()
{
    D3DPRESENT_PARAMETERS pp = {};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.hDeviceWindow = m_window;
    return pp;
}

HRESULT CTestPresenterHost::ResetDevice()
{
    D3DPRESENT_PARAMETERS pp = Parameters();
    dshow::CAutoLock lock(&m_deviceLock);
    return m_device->Reset(&pp);
}

std::vector<uint8_t> CTestPresenterHost::ReadTexture(IDirect3DTexture9* texture, UINT width, UINT height)
{
    std::vector<uint8_t> out;
    dshow::CAutoLock lock(&m_deviceLock);
    IDirect3DSurface9* level = nullptr;
    if (FAILED(texture->GetSurfaceLevel(0, &level)))
        return out;
    D3DSURFACE_DESC desc = {};
    level->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    if (SUCCEEDED(m_device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                        &copy, nullptr)) &&
        SUCCEEDED(m_device->GetRenderTargetData(level, copy))) {
        D3DLOCKED_RECT locked = {};
        if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            out.resize(size_t(width) * height * 4);
            for (UINT y = 0; y < height; ++y)
                std::memcpy(&out[size_t(y) * width * 4], static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch,
                            size_t(width) * 4);
            copy->UnlockRect();
        }
    }
    if (copy)
        copy->Release();
    level->Release();
    return out;
}

} // namespace test
