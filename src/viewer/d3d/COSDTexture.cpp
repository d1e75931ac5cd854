#include "viewer/d3d/COSDTexture.h"

#include <cstdint>
#include <cstring>

#include "framework/win/CImage.h"
#include "viewer/d3d/CD3DHandler.h"
#include "viewer/d3d/CD3DSurface.h"

using namespace OnScreenDisplay;

COSDTexture::COSDTexture(const wchar_t* path, HRESULT* result, int frames)
{
    const HRESULT hr = path && *path ? LoadFromFile(path, frames) : S_OK;
    if (result)
        *result = hr;
}

OnScreenDisplay::SkinTexture* COSDTexture::CreateEmpty()
{
    auto* texture = new COSDTexture(nullptr, nullptr, 1);
    texture->AddRef();
    return texture;
}

COSDTexture::~COSDTexture()
{
    ReleaseTexture();
    if (m_hitRegion)
        DeleteObject(m_hitRegion);
}

long COSDTexture::Release()
{
    const long left = --m_references;
    if (left <= 0)
        delete this;
    return left;
}

void COSDTexture::ReleaseTexture()
{
    if (m_secondTexture && m_secondTexture != m_texture)
        m_secondTexture->Release();
    if (m_texture)
        m_texture->Release();
    m_texture = m_secondTexture = nullptr;
    m_clearWidth = m_clearRows = 0;
}

SurfaceTexture* COSDTexture::GetSurfaceTexture() const
{
    return CD3DSurface::FromTexture(m_texture);
}

const OnScreenDisplay::FrameRect* COSDTexture::GetFrameRect(int i) const
{
    return i >= 0 && i < static_cast<int>(m_frames.size()) ? &m_frames[i] : nullptr;
}

bool COSDTexture::HitTest(int frame, float fx, float fy) const
{
    if (!m_hitRegion)
        return false;
    return PtInRegion(m_hitRegion, static_cast<int>(m_hitImageWidth * fx),
                      static_cast<int>((frame + fy) * m_hitFrameHeight)) != FALSE;
}

HRESULT COSDTexture::LoadFromFile(const wchar_t* path, int frames)
{
    CImage image;
    HRESULT hr = image.Load(path);
    if (FAILED(hr))
        return hr;
    if (frames < 1)
        frames = 1;
    FrameLayout layout;
    if (!ComputeFrameLayout(image.GetWidth(), image.GetHeight(), frames, &layout))
        return E_INVALIDARG; // too small to hold its border and frames
    IDirect3DDevice9* device = theD3DHandler ? theD3DHandler->GetDevice() : nullptr;
    if (!device)
        return E_FAIL;

    const int width = image.GetWidth(), height = image.GetHeight();
    HRGN region = nullptr;
    if (frames > 1) {
        // The hit area: every run of pixels whose alpha is at least 64, border excluded.
        std::vector<RECT> runs;
        for (int y = 0; y < height - 1; ++y) {
            const BYTE* row = image.GetRow(y);
            for (int x = 0; x < width - 1;) {
                if (row[x * 4 + 3] < 0x40) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < width - 1 && row[x * 4 + 3] >= 0x40)
                    ++x;
                runs.push_back(RECT{start, y, x, y + 1});
            }
        }
        std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(runs.size());
        header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
        header->rcBound = RECT{0, 0, width, height};
        if (!runs.empty())
            std::memcpy(data.data() + sizeof(RGNDATAHEADER), runs.data(), runs.size() * sizeof(RECT));
        region = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    }

    IDirect3DTexture9* texture = nullptr;
    hr = device->CreateTexture(layout.textureWidth, layout.textureHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                               &texture, nullptr);
    if (FAILED(hr)) {
        if (region)
            DeleteObject(region);
        return hr;
    }
    D3DLOCKED_RECT locked;
    hr = texture->LockRect(0, &locked, nullptr, 0);
    if (FAILED(hr)) {
        texture->Release();
        if (region)
            DeleteObject(region);
        return hr;
    }
    // Row by row through the locked pitch; what the image does not cover stays transparent.
    const bool keepAlpha = image.GetBPP() == 32;
    for (unsigned y = 0; y < layout.textureHeight; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(static_cast<BYTE*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
        std::memset(out, 0, layout.textureWidth * 4);
        if (y >= static_cast<unsigned>(height))
            continue;
        std::memcpy(out, image.GetRow(static_cast<int>(y)), static_cast<size_t>(width) * 4);
        if (!keepAlpha) {
            for (int x = 0; x < width; ++x)
                out[x] |= 0xFF000000u;
        }
    }
    texture->UnlockRect(0);

    ReleaseTexture();
    m_texture = m_secondTexture = texture;
    if (m_hitRegion)
        DeleteObject(m_hitRegion);
    m_hitRegion = region;
    m_hitFrameHeight = height / frames;
    m_hitImageWidth = width;
    m_textureWidth = layout.textureWidth;
    m_textureHeight = layout.textureHeight;
    m_contentWidth = layout.contentWidth;
    m_frameContentHeight = layout.frameContentHeight;
    m_frames = layout.frames;
    m_aspect = layout.aspect;
    return S_OK;
}

HRESULT COSDTexture::SetBitmap(HBITMAP bitmap, int left, int top, int right, int bottom)
{
    // Only 32-bit DIB sections: the copy reads four bytes per pixel straight from their bits.
    DIBSECTION section{};
    if (!bitmap || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) || !section.dsBm.bmBits ||
        section.dsBm.bmBitsPixel != 32)
        return E_INVALIDARG;
    const int width = section.dsBm.bmWidth;
    const int height = section.dsBmih.biHeight; // negative: top-down
    const int rows = height < 0 ? -height : height;
    if (width <= 0 || rows <= 0)
        return E_INVALIDARG;
    IDirect3DDevice9* device = theD3DHandler ? theD3DHandler->GetDevice() : nullptr;
    if (!device)
        return E_FAIL;

    const size_t stride = static_cast<size_t>(section.dsBm.bmWidthBytes);
    bool clear = true;
    for (int y = 0; y < rows && clear; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(section.dsBm.bmBits) + y * stride);
        for (int x = 0; x < width; ++x)
            if (row[x] != 0) {
                clear = false;
                break;
            }
    }
    // A clear bitmap on a texture that already holds one of its size shows nothing new.
    if (clear && m_texture && m_clearWidth == width && m_clearRows == rows)
        return S_OK;

    const unsigned edge = BitmapTextureEdge(width, rows);
    if (!m_texture || m_textureWidth != edge || m_textureHeight != edge) {
        IDirect3DTexture9* texture = nullptr;
        const HRESULT hr =
            device->CreateTexture(edge, edge, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
        if (FAILED(hr))
            return hr;
        ReleaseTexture();
        m_texture = m_secondTexture = texture;
        m_textureWidth = m_textureHeight = edge;
    }
    D3DLOCKED_RECT locked;
    const HRESULT hr = m_texture->LockRect(0, &locked, nullptr, 0);
    if (FAILED(hr))
        return hr;
    const int x0 = left < 0 ? 0 : left, y0 = top < 0 ? 0 : top;
    const int x1 = right > width ? width : right, y1 = bottom > rows ? rows : bottom;
    for (int y = y0; y < y1 && x0 < x1; ++y) {
        // A bottom-up bitmap keeps its first row last.
        const int sourceRow = height < 0 ? y : rows - 1 - y;
        std::memcpy(static_cast<BYTE*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch + x0 * 4,
                    static_cast<const BYTE*>(section.dsBm.bmBits) + sourceRow * stride + x0 * 4,
                    static_cast<size_t>(x1 - x0) * 4);
    }
    m_texture->UnlockRect(0);
    // Only a copy of the whole bitmap leaves the texture as clear as it is.
    const bool whole = x0 == 0 && y0 == 0 && x1 == width && y1 == rows;
    if (clear && whole) {
        m_clearWidth = width;
        m_clearRows = rows;
    } else {
        m_clearWidth = m_clearRows = 0;
    }
    m_frames.assign(1, OnScreenDisplay::FrameRect{0, 0, static_cast<float>(width) / edge, static_cast<float>(rows) / edge});
    m_aspect = static_cast<double>(width) / rows;
    return S_OK;
}
