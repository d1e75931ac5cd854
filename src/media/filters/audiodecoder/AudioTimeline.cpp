#include "media/filters/audiodecoder/AudioTimeline.h"

#include <cmath>

namespace audiofilter {

void AudioTimeline::Restart()
{
    m_position = 0;
    m_firstSample = true;
}

void AudioTimeline::OnInput(bool discontinuity, bool hasStart, bool exact, int64_t start)
{
    if (discontinuity && hasStart)
        m_position = start;
    if (!exact)
        return;
    if (m_firstSample) {
        m_position = start;
        m_firstSample = false;
    }
    // Compared without overflow: times near the ends of the range may differ by more than 2^63.
    const bool far = start > m_position ? static_cast<uint64_t>(start) - static_cast<uint64_t>(m_position) > kMaxDrift
                                        : static_cast<uint64_t>(m_position) - static_cast<uint64_t>(start) > kMaxDrift;
    if (far)
        m_position = start;
}

int64_t AudioTimeline::Duration(int32_t count, uint32_t sampleRate) const
{
    if (sampleRate == 0 || count <= 0)
        return 0;
    const double duration = static_cast<double>(count) / sampleRate * 10000000.0 * m_rate;
    // A rate of NaN, infinity or an absurd size would make the conversion undefined.
    if (!(duration > 0) || duration >= 9.0e18)
        return 0;
    return static_cast<int64_t>(duration);
}

void AudioTimeline::Advance(int32_t count, uint32_t sampleRate, int64_t& start, int64_t& stop)
{
    const int64_t duration = Duration(count, sampleRate);
    start = m_position;
    stop = static_cast<int64_t>(static_cast<uint64_t>(start) + static_cast<uint64_t>(duration));
    m_position = stop;
}

} // namespace audiofilter
