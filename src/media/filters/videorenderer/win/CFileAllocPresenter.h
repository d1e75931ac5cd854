// The file playback presenter: it only wakes the render thread for each frame.
#pragma once

#include "media/filters/videorenderer/win/CAllocPresenter.h"

namespace videorenderer {

class CFileAllocPresenter : public CAllocPresenter {
public:
    explicit CFileAllocPresenter(CPresenterHost* host);
    ~CFileAllocPresenter() override;

    STDMETHODIMP PresentSample(PresentInfo* info) override;

    static CFileAllocPresenter* Current();
};

} // namespace videorenderer
