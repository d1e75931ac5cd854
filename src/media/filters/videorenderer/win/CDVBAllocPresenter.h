// The live television presenter: besides waking the render thread for each frame it hands the
// frame's time to its owner, which sets the subtitle clock from it.
#pragma once

#include "media/filters/videorenderer/win/CAllocPresenter.h"

namespace videorenderer {

class CDVBAllocPresenter : public CAllocPresenter {
public:
    // Implemented by the live playback object.
    class COwner {
    public:
        virtual ~COwner() = default;
        virtual void PostPresentationTime(REFERENCE_TIME start) = 0;
    };

    CDVBAllocPresenter(COwner* owner, CPresenterHost* host);
    ~CDVBAllocPresenter() override;

    STDMETHODIMP PresentSample(PresentInfo* info) override;

    // The presenter made last (null once it is gone).
    static CDVBAllocPresenter* Current();

private:
    COwner* m_owner;
};

} // namespace videorenderer
