// An OSD font: GDI rasterises its characters into a glyph atlas whose pages are Direct3D textures,
// and two state blocks hold the text states (one captured before drawing and applied after, one
// applied before). The characters 32 to 254 are ready at creation; others are added on first use.
#pragma once

#include <d3d9.h>

#include <string>

#include "viewer/osd/GlyphAtlas.h"
#include "viewer/osd/OsdFont.h"
#include "viewer/d3d/COSDTextDrawer.h"
#include "viewer/d3d/D3DGlyphPages.h"
#include "viewer/d3d/GdiGlyphRasteriser.h"

class COSDFont : public OnScreenDisplay::OsdFont {
public:
    COSDFont(IDirect3DDevice9* device, const wchar_t* face, int points, bool bold, bool italic, int first = 32,
             int last = 255);
    virtual ~COSDFont();
    COSDFont(const COSDFont&) = delete;
    COSDFont& operator=(const COSDFont&) = delete;

    HRESULT Initialize(IDirect3DDevice9* device);
    // A font without a page or without its state blocks draws nothing.
    bool IsUsable() const { return m_atlas.HasPage() && m_savedBlock && m_textBlock; }

    OnScreenDisplay::GlyphAtlas& Atlas() override { return m_atlas; }
    // Draws through the font's own drawer: only the render thread draws, so one buffer serves
    // every widget of the font.
    void Draw(const OnScreenDisplay::COSDString& text, const OnScreenDisplay::TextStyle& style) override;
    GdiGlyphRasteriser& Rasteriser() { return m_rasteriser; }
    IDirect3DTexture9* Page(uint32_t i) const { return m_pages.Page(i); }
    D3DFORMAT PageFormat() const { return m_pages.Format(); }
    IDirect3DStateBlock9* SavedStates() const { return m_savedBlock; }
    IDirect3DStateBlock9* TextStates() const { return m_textBlock; }
    IDirect3DDevice9* Device() const { return m_device; }

private:
    HRESULT CreateStateBlocks();

    std::wstring m_face;
    int m_points;
    bool m_bold, m_italic;
    int m_first, m_last;
    IDirect3DDevice9* m_device = nullptr;
    GdiGlyphRasteriser m_rasteriser;
    D3DGlyphPages m_pages;
    OnScreenDisplay::GlyphAtlas m_atlas;
    IDirect3DStateBlock9* m_savedBlock = nullptr;
    IDirect3DStateBlock9* m_textBlock = nullptr;
    COSDTextDrawer m_drawer;
};
