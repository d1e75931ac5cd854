#include "media/audio/PlanarSampleBuffer.h"

#include <new>

namespace audio {

bool PlanarSampleBuffer::Resize(uint32_t newChannels, uint32_t newSamples)
{
    if (newChannels == channels && newSamples == samples && (newSamples == 0 || planes[0]))
        return true;
    Free();
    for (auto& plane : planes) {
        plane = new (std::nothrow) float[newSamples ? newSamples : 1]();
        if (!plane) {
            Free();
            return false;
        }
    }
    channels = newChannels;
    samples = newSamples;
    return true;
}

void PlanarSampleBuffer::Free()
{
    for (auto& plane : planes) {
        delete[] plane;
        plane = nullptr;
    }
    channels = 0;
    samples = 0;
}

} // namespace audio
