#include "viewer/osd/Scale.h"

#include <atomic>

namespace OnScreenDisplay {

namespace {
std::atomic<float> g_scale{1.0f};
} // namespace

float GetScale()
{
    return g_scale.load(std::memory_order_relaxed);
}

void SetScale(float scale)
{
    g_scale.store(scale, std::memory_order_relaxed);
}

} // namespace OnScreenDisplay
