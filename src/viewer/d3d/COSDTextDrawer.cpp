#include "viewer/d3d/COSDTextDrawer.h"

#include <cstring>

#include "viewer/osd/TextQuads.h"
#include "viewer/d3d/COSDFont.h"

using namespace OnScreenDisplay;

namespace {
constexpr UINT kVertexCount = 800;
constexpr DWORD kVertexFormat = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

TextStyle PlainStyle(float aspect, uint32_t colour, int align, float fadeStart, float fadeEnd)
{
    TextStyle style;
    style.aspect = aspect;
    style.colour = colour;
    style.align = align;
    style.fadeStart = fadeStart;
    style.fadeEnd = fadeEnd;
    return style;
}

} // namespace

COSDTextDrawer::~COSDTextDrawer()
{
    if (m_vertices)
        m_vertices->Release();
}

HRESULT COSDTextDrawer::Create(COSDFont* font, IDirect3DDevice9* device)
{
    m_font = font;
    m_device = device;
    if (!device)
        return S_OK;
    if (m_vertices) {
        m_vertices->Release();
        m_vertices = nullptr;
    }
    return device->CreateVertexBuffer(kVertexCount * sizeof(Vertex), D3DUSAGE_WRITEONLY, kVertexFormat,
                                      D3DPOOL_MANAGED, &m_vertices, nullptr);
}

void COSDTextDrawer::DrawString(const COSDString& text, float aspect, uint32_t colour, int align, float fadeStart,
                                float fadeEnd)
{
    Draw(text, PlainStyle(aspect, colour, align, fadeStart, fadeEnd));
}

void COSDTextDrawer::DrawStringInBand(const COSDString& text, float aspect, uint32_t colour, int align,
                                      float fadeStart, float fadeEnd, float bandTop, float bandBottom)
{
    TextStyle style = PlainStyle(aspect, colour, align, fadeStart, fadeEnd);
    style.banded = true;
    style.bandTop = bandTop;
    style.bandBottom = bandBottom;
    Draw(text, style);
}

void COSDTextDrawer::Draw(const COSDString& text, const TextStyle& style)
{
    // A font that could not be made, or a drawer without its buffer, draws nothing.
    if (!m_font || !m_font->IsUsable() || !m_vertices || !m_device)
        return;
    m_font->SavedStates()->Capture();
    m_font->TextStates()->Apply();
    m_device->SetFVF(kVertexFormat);
    m_device->SetPixelShader(nullptr);
    m_device->SetStreamSource(0, m_vertices, 0, sizeof(Vertex));
    BuildTextQuads(text, m_font->Atlas(), style, [&](uint32_t page, const Vertex* vertices, unsigned triangles) {
        void* locked = nullptr;
        if (FAILED(m_vertices->Lock(0, 0, &locked, 0)))
            return;
        std::memcpy(locked, vertices, 3u * triangles * sizeof(Vertex));
        m_vertices->Unlock();
        m_device->SetTexture(0, m_font->Page(page));
        m_device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles);
    });
    m_font->SavedStates()->Apply();
}
