#include "media/filters/audiodecoder/AudioTimeline.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using audiofilter::AudioTimeline;

TEST(AudioTimeline, DurationsAreTruncatedAndFollowTheSegmentRate)
{
    AudioTimeline timeline;
    EXPECT_EQ(timeline.Duration(1536, 48000), 320000);
    EXPECT_EQ(timeline.Duration(1152, 44100), 261224); // 261224.49...
    EXPECT_EQ(timeline.Duration(1152, 0), 0);           // no division by a rate of 0
    timeline.SetRate(2.0);
    EXPECT_EQ(timeline.Duration(1536, 48000), 640000);
    timeline.SetRate(std::nan(""));
    EXPECT_EQ(timeline.Duration(1536, 48000), 0);
    timeline.SetRate(1e300);
    EXPECT_EQ(timeline.Duration(1536, 48000), 0);
}

TEST(AudioTimeline, FirstTimedSampleAnchorsAndOnlyDriftsBeyond100msMoveIt)
{
    AudioTimeline timeline;
    int64_t start = 0, stop = 0;
    timeline.OnInput(false, false, false, 0); // untimed: nothing anchors yet
    EXPECT_EQ(timeline.Position(), 0);
    timeline.OnInput(false, true, true, 5000000);
    EXPECT_EQ(timeline.Position(), 5000000);
    timeline.Advance(1536, 48000, start, stop);
    EXPECT_EQ(start, 5000000);
    EXPECT_EQ(stop, 5320000);
    // 99 ms away is taken for jitter, 101 ms for a jump.
    timeline.OnInput(false, true, true, 5320000 + 990000);
    EXPECT_EQ(timeline.Position(), 5320000);
    timeline.OnInput(false, true, true, 5320000 - 990000);
    EXPECT_EQ(timeline.Position(), 5320000);
    timeline.OnInput(false, true, true, 5320000 + 1010000);
    EXPECT_EQ(timeline.Position(), 6330000);
    timeline.OnInput(false, true, true, 6330000 - 1010000);
    EXPECT_EQ(timeline.Position(), 5320000);
    // A discontinuity with only a start time moves the position; without time it stays.
    timeline.OnInput(true, true, false, 5400000);
    EXPECT_EQ(timeline.Position(), 5400000);
    timeline.OnInput(true, false, false, 0);
    EXPECT_EQ(timeline.Position(), 5400000);
    // Restart: back to 0 and the next timed sample anchors even when close.
    timeline.Restart();
    EXPECT_EQ(timeline.Position(), 0);
    timeline.OnInput(false, true, true, 10);
    EXPECT_EQ(timeline.Position(), 10);
    // Extreme times do not overflow the comparison.
    timeline.OnInput(false, true, true, INT64_MIN);
    EXPECT_EQ(timeline.Position(), INT64_MIN);
    timeline.OnInput(false, true, true, INT64_MAX);
    EXPECT_EQ(timeline.Position(), INT64_MAX);
}

} // namespace
