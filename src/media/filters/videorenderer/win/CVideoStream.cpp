#include "media/filters/videorenderer/win/CVideoStream.h"

namespace videorenderer {

CVideoStream::~CVideoStream()
{
    if (m_texture)
        m_texture->Release();
}

void CVideoStream::Take(IDirect3DTexture9* texture, const TextureRect& rect, double aspect)
{
    if (texture)
        texture->AddRef();
    if (m_texture)
        m_texture->Release();
    m_texture = texture;
    m_rect = rect;
    m_aspect = aspect;
}

HRESULT CVideoStream::Attach(IDirect3DTexture9* texture, const TextureRect& rect, double aspect)
{
    if (m_active)
        return E_FAIL;
    if (!texture)
        return E_POINTER;
    Take(texture, rect, aspect);
    m_active = true;
    return S_OK;
}

HRESULT CVideoStream::Update(IDirect3DTexture9* texture, const TextureRect& rect, double aspect)
{
    if (!m_active)
        return E_FAIL;
    Take(texture, rect, aspect);
    return S_OK;
}

HRESULT CVideoStream::Detach()
{
    if (!m_active)
        return S_FALSE;
    if (m_texture)
        m_texture->Release();
    m_texture = nullptr;
    m_active = false;
    return S_OK;
}

} // namespace videorenderer
