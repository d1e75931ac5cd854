#include "media/filters/videorenderer/win/CAllocPresenter.h"

#include <cstdlib>
#include <cstring>

#include "dshow/CAutoLock.h"
#include "media/filters/videorenderer/win/CVideoStreamTable.h"

namespace videorenderer {

namespace {

UINT PowerOfTwoAtLeast(UINT value)
{
    UINT p = 1;
    while (p < value)
        p <<= 1;
    return p;
}

} // namespace

CAllocPresenter::CAllocPresenter(const wchar_t* name, CPresenterHost* host) : CUnknown(name, nullptr), m_host(host) {}

CAllocPresenter::~CAllocPresenter()
{
    if (m_texture)
        m_texture->Release();
}

STDMETHODIMP CAllocPresenter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IHVRAllocPresenter)
        return dshow::GetInterface(static_cast<IHVRAllocPresenter*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CAllocPresenter::LockDevice()
{
    m_host->LockDevice();
    return S_OK;
}

STDMETHODIMP CAllocPresenter::UnlockDevice()
{
    m_host->UnlockDevice();
    return S_OK;
}

STDMETHODIMP CAllocPresenter::AllocateSurface(SurfaceInfo* info)
{
    if (!info)
        return E_POINTER;
    if (m_texture) {
        m_texture->Release();
        m_texture = nullptr;
    }
    IDirect3DDevice9* device = m_host->Device();
    if (!device)
        return E_FAIL;
    D3DCAPS9 caps = {};
    if (FAILED(device->GetDeviceCaps(&caps)))
        return E_FAIL;
    // Checked before the power-of-two search, which would never end above 2^31.
    if (info->width <= 0 || info->height <= 0 || DWORD(info->width) > caps.MaxTextureWidth ||
        DWORD(info->height) > caps.MaxTextureHeight)
        return E_INVALIDARG;
    const UINT width = PowerOfTwoAtLeast(UINT(info->width)), height = PowerOfTwoAtLeast(UINT(info->height));
    info->textureWidth = width;
    info->textureHeight = height;

    IDirect3DTexture9* target = nullptr;
    HRESULT hr = device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                       &target, nullptr);
    if (FAILED(hr))
        return hr;
    // Black to begin with: a system-memory copy cleared and uploaded.
    IDirect3DTexture9* black = nullptr;
    hr = device->CreateTexture(width, height, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &black, nullptr);
    if (SUCCEEDED(hr)) {
        D3DLOCKED_RECT locked = {};
        hr = black->LockRect(0, &locked, nullptr, 0);
        if (SUCCEEDED(hr)) {
            std::memset(locked.pBits, 0, size_t(locked.Pitch) * height);
            black->UnlockRect(0);
            hr = device->UpdateTexture(black, target);
        }
        black->Release();
    }
    if (FAILED(hr)) {
        // Nothing half-made stays behind (a live default-pool texture would also block a reset).
        target->Release();
        return hr;
    }
    m_texture = target;

    if (m_host->HasWindow()) {
        TextureRect rect;
        rect.left = 0.5f / float(width);
        rect.top = 0.5f / float(height);
        rect.right = float(info->width - 1) / float(width);
        rect.bottom = float(info->height - 1) / float(height);
        if (CVideoStreamTable* table = m_host->VideoStreamTable()) {
            dshow::CAutoLock lock(table->Lock());
            if (m_streamIndex == -1)
                table->AddStream(m_texture, rect, info->aspect, &m_streamIndex);
            else
                table->UpdateStream(m_texture, rect, info->aspect, m_streamIndex);
        }
        m_textureWidth = width;
        m_textureHeight = height;
        m_host->SetVideoFormat(info->width, std::abs(info->height), info->aspect);
    }
    info->texture = m_texture;
    m_texture->AddRef();
    return S_OK;
}

void CAllocPresenter::ReleaseTexture()
{
    m_host->LockDevice();
    if (CVideoStreamTable* table = m_host->VideoStreamTable()) {
        if (m_streamIndex != -1) {
            dshow::CAutoLock lock(table->Lock());
            table->RemoveStream(m_streamIndex);
            m_streamIndex = -1;
        }
    }
    if (m_texture) {
        m_texture->Release();
        m_texture = nullptr;
    }
    m_host->UnlockDevice();
}

} // namespace videorenderer
