// Draws laid-out strings of one font as textured quads in the current widget's square, through a
// write-only vertex buffer of 800 vertices, at most 202 triangles a call, one texture per page.
#pragma once

#include <d3d9.h>

#include <cstdint>

#include "viewer/osd/COSDString.h"
#include "viewer/osd/TextQuads.h"

class COSDFont;

class COSDTextDrawer {
public:
    COSDTextDrawer() = default;
    ~COSDTextDrawer();
    COSDTextDrawer(const COSDTextDrawer&) = delete;
    COSDTextDrawer& operator=(const COSDTextDrawer&) = delete;

    HRESULT Create(COSDFont* font, IDirect3DDevice9* device);
    COSDFont* GetFont() const { return m_font; }

    // aspect: the widget's width / height; align 1 left, 2 centre, 3 right; fadeStart and fadeEnd
    // are x positions in the square (-1 and 1 switch fading off).
    void DrawString(const OnScreenDisplay::COSDString& text, float aspect, uint32_t colour, int align,
                    float fadeStart, float fadeEnd);
    // The same, keeping only what lies between bandTop and bandBottom (scrolling text).
    void DrawStringInBand(const OnScreenDisplay::COSDString& text, float aspect, uint32_t colour, int align,
                          float fadeStart, float fadeEnd, float bandTop, float bandBottom);

    void Draw(const OnScreenDisplay::COSDString& text, const OnScreenDisplay::TextStyle& style);

private:
    COSDFont* m_font = nullptr;
    IDirect3DDevice9* m_device = nullptr;
    IDirect3DVertexBuffer9* m_vertices = nullptr;
};
