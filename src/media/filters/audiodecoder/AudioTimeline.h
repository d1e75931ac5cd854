// The output times of the audio decoder filter: a running position that each delivered frame
// advances by its duration, re-anchored to the input's times at the first sample, at
// discontinuities and when the input strays more than 100 ms from it.
#pragma once

#include <cstdint>

namespace audiofilter {

class AudioTimeline {
public:
    static constexpr int64_t kMaxDrift = 1000000; // 100 ms in 100-ns units

    // After a connection or a new segment: position 0, the next timed sample anchors it.
    void Restart();
    void SetRate(double rate) { m_rate = rate; }
    double Rate() const { return m_rate; }

    // One input sample. hasStart: its start time could be read; exact: start and stop both were.
    void OnInput(bool discontinuity, bool hasStart, bool exact, int64_t start);

    // The duration of `count` samples per channel at `sampleRate` and the segment rate, truncated;
    // 0 for a rate of 0.
    int64_t Duration(int32_t count, uint32_t sampleRate) const;

    // Times of the next output frame; the position moves to its stop.
    void Advance(int32_t count, uint32_t sampleRate, int64_t& start, int64_t& stop);

    int64_t Position() const { return m_position; }

private:
    int64_t m_position = 0;
    bool m_firstSample = true;
    double m_rate = 1.0;
};

} // namespace audiofilter
