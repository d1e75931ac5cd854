#include "viewer/d3d/COSDFont.h"

COSDFont::COSDFont(IDirect3DDevice9* device, const wchar_t* face, int points, bool bold, bool italic, int first,
                   int last)
    : m_face(face ? face : L""), m_points(points), m_bold(bold), m_italic(italic), m_first(first), m_last(last),
      m_device(device), m_pages(device), m_atlas(m_rasteriser, m_pages)
{
    Initialize(device);
}

COSDFont::~COSDFont()
{
    if (m_savedBlock)
        m_savedBlock->Release();
    if (m_textBlock)
        m_textBlock->Release();
}

HRESULT COSDFont::Initialize(IDirect3DDevice9* device)
{
    m_device = device;
    if (!device || !m_rasteriser.Create(m_face.c_str(), m_points, m_bold, m_italic))
        return E_FAIL;
    if (!m_atlas.Initialize(static_cast<char16_t>(m_first), static_cast<uint32_t>(m_last)))
        return E_FAIL; // no page: the state blocks are not recorded either
    const HRESULT hr = CreateStateBlocks();
    if (SUCCEEDED(hr))
        m_drawer.Create(this, device);
    return hr;
}

void COSDFont::Draw(const OnScreenDisplay::COSDString& text, const OnScreenDisplay::TextStyle& style)
{
    m_drawer.Draw(text, style);
}

HRESULT COSDFont::CreateStateBlocks()
{
    for (IDirect3DStateBlock9** block : {&m_savedBlock, &m_textBlock}) {
        if (FAILED(m_device->BeginStateBlock()))
            return E_FAIL;
        IDirect3DDevice9* d = m_device;
        d->SetTexture(0, nullptr);
        d->SetRenderState(D3DRS_ZENABLE, TRUE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        d->SetRenderState(D3DRS_ALPHAREF, 8);
        d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
        d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d->SetRenderState(D3DRS_STENCILENABLE, FALSE);
        d->SetRenderState(D3DRS_CLIPPING, FALSE);
        d->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
        d->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
        d->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
        d->SetRenderState(D3DRS_FOGENABLE, FALSE);
        d->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
        // The colour is the vertex's; the alpha is the glyph's coverage times the vertex's.
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
        d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
        d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
        if (FAILED(d->EndStateBlock(block)))
            return E_FAIL;
    }
    return S_OK;
}
