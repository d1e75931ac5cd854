// Shows the DVB subtitles of the attached decoder: driven by the video clock, it draws the newest
// display set that is due into its 720 x 576 bitmap and hands the bitmap to its owner.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Lock.h"
#include "base/Result.h"
#include "dvb/libDVB/subtitle/CSubtitleCanvas.h"
#include "dvb/libDVB/subtitle/CSubtitleDecoder.h"
#include "dvb/libDVB/subtitle/CSubtitleSurface.h"

namespace libDVB {

class CSubtitleRenderer {
public:
    class CSubtitleCallback {
    public:
        // The bitmap (the surface's handle) and the rectangle it covers; it stays owned by the renderer.
        virtual HRESULT OnSubtitleRendered(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;

    protected:
        ~CSubtitleCallback() = default;
    };

    // Without a surface the bitmap lives in ordinary memory.
    explicit CSubtitleRenderer(CSubtitleCallback* callback, std::unique_ptr<CSubtitleSurface> surface = nullptr);
    CSubtitleRenderer(const CSubtitleRenderer&) = delete;
    CSubtitleRenderer& operator=(const CSubtitleRenderer&) = delete;

    // Keeps the decoder (or none), clears the bitmap and reports it, so old subtitles disappear.
    HRESULT Attach(CSubtitleDecoder* decoder);
    // Draws the newest display set due at `pts` (90 kHz) unless it was shown already, and reports it.
    HRESULT Draw(uint64_t pts);

    const CSubtitleCanvas& Canvas() const { return m_canvas; }
    CSubtitleSurface& Surface() { return *m_surface; }

private:
    void Report();

    CSubtitleCallback* m_callback;
    base::CCriticalSection m_lock;
    CSubtitleDecoder* m_decoder = nullptr;
    std::unique_ptr<CSubtitleSurface> m_surface;
    CSubtitleCanvas m_canvas;
};

} // namespace libDVB
