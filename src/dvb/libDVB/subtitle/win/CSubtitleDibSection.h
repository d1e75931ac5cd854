// The subtitle bitmap as a GDI DIB section (720 x 576, 32 bits, bottom-up) selected into a memory
// device context, so the on-screen display can take it as a bitmap handle.
#pragma once

#include <windows.h>

#include "base/Result.h"
#include "dvb/libDVB/subtitle/CSubtitleSurface.h"

namespace libDVB {

class CSubtitleDibSection : public CSubtitleSurface {
public:
    CSubtitleDibSection();
    ~CSubtitleDibSection() override;
    CSubtitleDibSection(const CSubtitleDibSection&) = delete;
    CSubtitleDibSection& operator=(const CSubtitleDibSection&) = delete;

    // Null pixels when GDI refused the bitmap.
    uint32_t* Pixels() override { return m_pixels; }
    void* Handle() override { return m_bitmap; }
    HDC DeviceContext() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_pixels = nullptr;
};

} // namespace libDVB
