// A subtitle bitmap in ordinary memory, for use without a display (its handle is its pixels).
#pragma once

#include <vector>

#include "dvb/libDVB/subtitle/CSubtitleSurface.h"

namespace libDVB {

class CSubtitleMemorySurface : public CSubtitleSurface {
public:
    CSubtitleMemorySurface() : m_pixels(static_cast<size_t>(kWidth) * kHeight, 0) {}

    uint32_t* Pixels() override { return m_pixels.data(); }
    void* Handle() override { return m_pixels.data(); }

private:
    std::vector<uint32_t> m_pixels;
};

} // namespace libDVB
