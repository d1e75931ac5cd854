// Glyph pages as 512 x 512 managed textures: A8 where the device takes it, else A8R8G8B8 with the
// coverage in alpha. Every page uses the format of the first.
#pragma once

#include <d3d9.h>

#include <vector>

#include "viewer/osd/GlyphAtlas.h"

class D3DGlyphPages : public OnScreenDisplay::GlyphPages {
public:
    explicit D3DGlyphPages(IDirect3DDevice9* device) : m_device(device) {}
    ~D3DGlyphPages() override;
    D3DGlyphPages(const D3DGlyphPages&) = delete;
    D3DGlyphPages& operator=(const D3DGlyphPages&) = delete;

    bool CreatePage() override;
    void UploadPage(const uint32_t* bitmap) override;
    int PageCount() const override { return static_cast<int>(m_pages.size()); }

    IDirect3DTexture9* Page(uint32_t i) const { return i < m_pages.size() ? m_pages[i] : nullptr; }
    D3DFORMAT Format() const { return m_format; }
    // For tests: behave as a device that refuses A8.
    static void RefuseA8(bool refuse);

private:
    IDirect3DDevice9* m_device;
    std::vector<IDirect3DTexture9*> m_pages;
    D3DFORMAT m_format = D3DFMT_UNKNOWN;
};
