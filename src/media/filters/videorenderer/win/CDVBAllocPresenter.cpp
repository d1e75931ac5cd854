#include "media/filters/videorenderer/win/CDVBAllocPresenter.h"

#include <atomic>

namespace videorenderer {

namespace {
std::atomic<CDVBAllocPresenter*> g_current{nullptr};
}

CDVBAllocPresenter::CDVBAllocPresenter(COwner* owner, CPresenterHost* host)
    : CAllocPresenter(L"CDVBAllocPresenter", host), m_owner(owner)
{
    g_current = this;
}

CDVBAllocPresenter::~CDVBAllocPresenter()
{
    // A newer presenter may have taken the place already.
    CDVBAllocPresenter* self = this;
    g_current.compare_exchange_strong(self, nullptr);
}

CDVBAllocPresenter* CDVBAllocPresenter::Current() { return g_current; }

STDMETHODIMP CDVBAllocPresenter::PresentSample(PresentInfo* info)
{
    if (!info)
        return E_POINTER;
    if (m_owner)
        m_owner->PostPresentationTime(info->startTime);
    m_host->SignalRender();
    return S_OK;
}

} // namespace videorenderer
