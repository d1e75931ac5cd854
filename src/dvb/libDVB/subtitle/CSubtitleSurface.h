// The 720 x 576 32-bit bottom-up bitmap a subtitle renderer draws into, and the platform handle
// that stands for it when the bitmap is handed on (a GDI bitmap on Windows).
#pragma once

#include <cstdint>

namespace libDVB {

class CSubtitleSurface {
public:
    static constexpr int kWidth = 720;
    static constexpr int kHeight = 576;

    virtual ~CSubtitleSurface() = default;
    // kWidth x kHeight pixels, 0xAARRGGBB, the bottom row first.
    virtual uint32_t* Pixels() = 0;
    virtual void* Handle() = 0;
};

} // namespace libDVB
