#include "media/filters/videorenderer/win/CFileAllocPresenter.h"

#include <atomic>

namespace videorenderer {

namespace {
std::atomic<CFileAllocPresenter*> g_current{nullptr};
}

CFileAllocPresenter::CFileAllocPresenter(CPresenterHost* host) : CAllocPresenter(L"CFileAllocPresenter", host)
{
    g_current = this;
}

CFileAllocPresenter::~CFileAllocPresenter()
{
    CFileAllocPresenter* self = this;
    g_current.compare_exchange_strong(self, nullptr);
}

CFileAllocPresenter* CFileAllocPresenter::Current() { return g_current; }

STDMETHODIMP CFileAllocPresenter::PresentSample(PresentInfo* info)
{
    if (!info)
        return E_POINTER;
    m_host->SignalRender();
    return S_OK;
}

} // namespace videorenderer
