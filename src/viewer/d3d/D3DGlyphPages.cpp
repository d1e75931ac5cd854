#include "viewer/d3d/D3DGlyphPages.h"

#include <atomic>

#include "viewer/osd/GlyphAtlas.h"

namespace {
std::atomic<bool> g_refuseA8{false};
}

void D3DGlyphPages::RefuseA8(bool refuse)
{
    g_refuseA8 = refuse;
}

D3DGlyphPages::~D3DGlyphPages()
{
    for (IDirect3DTexture9* page : m_pages)
        page->Release();
}

bool D3DGlyphPages::CreatePage()
{
    if (!m_device)
        return false;
    const UINT size = OnScreenDisplay::GlyphAtlas::kSize;
    IDirect3DTexture9* texture = nullptr;
    if (m_format == D3DFMT_UNKNOWN) {
        if (!g_refuseA8 &&
            SUCCEEDED(m_device->CreateTexture(size, size, 1, 0, D3DFMT_A8, D3DPOOL_MANAGED, &texture, nullptr)))
            m_format = D3DFMT_A8;
        else if (SUCCEEDED(m_device->CreateTexture(size, size, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                                   nullptr)))
            m_format = D3DFMT_A8R8G8B8;
        else
            return false;
    } else if (FAILED(m_device->CreateTexture(size, size, 1, 0, m_format, D3DPOOL_MANAGED, &texture, nullptr))) {
        return false;
    }
    m_pages.push_back(texture);
    return true;
}

void D3DGlyphPages::UploadPage(const uint32_t* bitmap)
{
    if (m_pages.empty() || !bitmap)
        return;
    IDirect3DTexture9* page = m_pages.back();
    D3DLOCKED_RECT locked;
    if (FAILED(page->LockRect(0, &locked, nullptr, 0)))
        return;
    const int size = OnScreenDisplay::GlyphAtlas::kSize;
    // The text is white, so the low (blue) byte is the coverage.
    for (int y = 0; y < size; ++y) {
        BYTE* row = static_cast<BYTE*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
        const uint32_t* in = bitmap + static_cast<size_t>(y) * size;
        if (m_format == D3DFMT_A8) {
            for (int x = 0; x < size; ++x)
                row[x] = static_cast<BYTE>(in[x] & 0xFF);
        } else {
            auto* out = reinterpret_cast<uint32_t*>(row);
            for (int x = 0; x < size; ++x)
                out[x] = (in[x] & 0xFF) << 24;
        }
    }
    page->UnlockRect(0);
}
