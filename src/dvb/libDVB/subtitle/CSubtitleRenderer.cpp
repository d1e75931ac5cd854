#include "dvb/libDVB/subtitle/CSubtitleRenderer.h"

#include "dvb/libDVB/subtitle/CSubtitleMemorySurface.h"

namespace libDVB {

namespace {

std::unique_ptr<CSubtitleSurface> OrMemory(std::unique_ptr<CSubtitleSurface> surface)
{
    if (!surface || !surface->Pixels())
        return std::make_unique<CSubtitleMemorySurface>();
    return surface;
}

} // namespace

CSubtitleRenderer::CSubtitleRenderer(CSubtitleCallback* callback, std::unique_ptr<CSubtitleSurface> surface)
    : m_callback(callback), m_surface(OrMemory(std::move(surface))), m_canvas(m_surface->Pixels())
{
    m_canvas.Clear();
}

void CSubtitleRenderer::Report()
{
    if (m_callback)
        m_callback->OnSubtitleRendered(m_surface->Handle(), 0, 0, CSubtitleSurface::kWidth, CSubtitleSurface::kHeight);
}

HRESULT CSubtitleRenderer::Attach(CSubtitleDecoder* decoder)
{
    base::CScopedLock lock(m_lock);
    m_decoder = decoder;
    m_canvas.Clear();
    Report();
    return S_OK;
}

HRESULT CSubtitleRenderer::Draw(uint64_t pts)
{
    base::CScopedLock lock(m_lock);
    bool drawn = false;
    if (m_decoder) {
        base::CScopedLock decoderLock(m_decoder->Lock());
        if (const CSubtitleDisplaySet* set = m_decoder->PickDueDisplaySet(pts)) {
            m_canvas.Draw(*set);
            drawn = true;
        }
    }
    if (drawn)
        Report();
    return S_OK;
}

} // namespace libDVB
