// The demultiplexer core over streams that ffmpeg wrote, against what ffmpeg and ffprobe read
// from the same streams: payload per PID byte for byte, start times from the PTS.
#include <gtest/gtest.h>

#include <map>

#include "media/filters/mpegdemux/DemuxTestSupport.h"
#include "support/TestMedia.h"

using namespace test;
using mpegdemux::CDataPacket;

namespace {

constexpr uint16_t kVideoPid = 256, kMp2Pid = 257, kAc3Pid = 258, kRadioPid = 259;
constexpr int64_t kPtsPeriod = int64_t(1) << 33;

int64_t CeilTime(int64_t pts) { return (pts * 1000 + 8) / 9; }

// Everything up to the last PES arrives (that one waits for a successor that never comes).
void ExpectPayloadIsElementaryStream(const DemuxRun& run, int pin, const std::string& reference,
                                     const std::vector<ProbedPacket>& probed, uint16_t pid)
{
    const auto ours = run.Concatenated(pin);
    const auto theirs = ReadFileBytes(MediaPath(reference));
    ASSERT_FALSE(ours.empty());
    ASSERT_LE(ours.size(), theirs.size());
    EXPECT_TRUE(std::equal(ours.begin(), ours.end(), theirs.begin())) << reference;
    EXPECT_LE(theirs.size() - ours.size(), 16384u) << "more than the last unit missing";
    // Every unit starts at a PES with a PTS that ffprobe also reports, at ceil(pts x 1000 / 9)
    // less the base; ffprobe may give times behind a wrap as negative.
    std::map<int64_t, int64_t> probedByPts;
    for (const auto& p : probed)
        if (p.pid == pid)
            probedByPts[((p.pts % kPtsPeriod) + kPtsPeriod) % kPtsPeriod] = p.pts;
    for (const auto& unit : run.units[pin]) {
        ASSERT_NE(CDataPacket::kNoTime, unit.start);
        EXPECT_EQ(CeilTime(unit.pts) - run.timeBase, unit.start);
        auto it = probedByPts.find(unit.pts % kPtsPeriod);
        ASSERT_NE(probedByPts.end(), it) << "pts " << unit.pts << " unknown to ffprobe";
        EXPECT_EQ(unit.pts - run.units[pin].front().pts,
                  it->second - probedByPts.find(run.units[pin].front().pts % kPtsPeriod)->second);
    }
}

int64_t FirstProbedPts(const std::vector<ProbedPacket>& probed, uint16_t pid)
{
    for (const auto& p : probed)
        if (p.pid == pid)
            return p.pts;
    ADD_FAILURE() << "no packet of pid " << pid;
    return 0;
}

TEST(FfmpegDemuxTest, PayloadAndTimesOfVideoAndMpegAudioMatchFfmpeg)
{
    const auto probed = ReadProbedPackets(MediaPath("services.packets"));
    const DemuxRun run = DemuxFile(MediaPath("services.ts"), kVideoPid, kMp2Pid);
    EXPECT_EQ(1, run.timeBaseEvents);
    // The base is the earliest first PTS of the two outputs.
    const int64_t first = std::min(FirstProbedPts(probed, kVideoPid), FirstProbedPts(probed, kMp2Pid));
    EXPECT_EQ(CeilTime(first), run.timeBase);
    ExpectPayloadIsElementaryStream(run, 0, "demux_video.m2v", probed, kVideoPid);
    ExpectPayloadIsElementaryStream(run, 1, "demux_mp2.mp2", probed, kMp2Pid);
    EXPECT_TRUE(run.audioKindChanges.empty());
}

TEST(FfmpegDemuxTest, Ac3PidSwitchesTheAudioKindAndKeepsItsPayload)
{
    const auto probed = ReadProbedPackets(MediaPath("services.packets"));
    const DemuxRun run = DemuxFile(MediaPath("services.ts"), kVideoPid, kAc3Pid);
    ASSERT_EQ(1u, run.audioKindChanges.size());
    EXPECT_EQ(1, run.audioKindChanges[0]);
    ExpectPayloadIsElementaryStream(run, 1, "demux_ac3.ac3", probed, kAc3Pid);
}

TEST(FfmpegDemuxTest, TimesRiseAcrossThePtsWrap)
{
    const auto probed = ReadProbedPackets(MediaPath("demux_wrap.packets"));
    const DemuxRun run = DemuxFile(MediaPath("demux_wrap.ts"), kVideoPid, kMp2Pid);
    ExpectPayloadIsElementaryStream(run, 0, "demux_wrap.m2v", probed, kVideoPid);
    bool wrapped = false;
    for (int pin = 0; pin < 2; ++pin) {
        ASSERT_GT(run.units[pin].size(), 40u);
        for (size_t i = 1; i < run.units[pin].size(); ++i) {
            const auto& before = run.units[pin][i - 1];
            const auto& unit = run.units[pin][i];
            wrapped |= unit.pts >= kPtsPeriod && before.pts < kPtsPeriod;
            if (pin == 1) {
                EXPECT_GT(unit.start, before.start) << "audio unit " << i;
            }
            EXPECT_LT(std::llabs(unit.start - before.start), 10000000) << "jump at unit " << i;
        }
        EXPECT_LT(run.units[pin].front().start, 10000000);
    }
    EXPECT_TRUE(wrapped) << "the stream was meant to wrap";
}

TEST(FfmpegDemuxTest, VideoOnlyServiceStartsNearZero)
{
    const auto probed = ReadProbedPackets(MediaPath("demux_video_only.packets"));
    // No audio PID, and an audio PID whose output is not connected, both leave video alone.
    for (uint16_t audioPid : {uint16_t(0), kMp2Pid}) {
        const DemuxRun run = DemuxFile(MediaPath("demux_video_only.ts"), kVideoPid, audioPid, 1);
        EXPECT_EQ(CeilTime(FirstProbedPts(probed, kVideoPid)), run.timeBase);
        ASSERT_FALSE(run.units[0].empty());
        EXPECT_EQ(0, run.units[0].front().start);
        ExpectPayloadIsElementaryStream(run, 0, "demux_video.m2v", probed, kVideoPid);
    }
}

TEST(FfmpegDemuxTest, RadioServiceDecidesTheBaseFromItsAudio)
{
    const auto probed = ReadProbedPackets(MediaPath("services.packets"));
    const DemuxRun run = DemuxFile(MediaPath("services.ts"), 0, kRadioPid);
    EXPECT_EQ(CeilTime(FirstProbedPts(probed, kRadioPid)), run.timeBase);
    ASSERT_GT(run.units[1].size(), 10u);
    EXPECT_EQ(0, run.units[1].front().start);
    EXPECT_TRUE(run.units[0].empty());
}

TEST(FfmpegDemuxTest, SilentAudioPidHoldsVideoForAboutOneSecondOnly)
{
    const auto probed = ReadProbedPackets(MediaPath("demux_silent.packets"));
    const DemuxRun run = DemuxFile(MediaPath("demux_silent.ts"), kVideoPid, kMp2Pid);
    EXPECT_EQ(CeilTime(FirstProbedPts(probed, kVideoPid)), run.timeBase);
    ASSERT_GT(run.units[0].size(), 50u);
    EXPECT_EQ(0, run.units[0].front().start);
    // Decided on the video PES 1 s after the first: about 25 pictures waited, not the whole stream.
    EXPECT_GE(run.unitsBeforeTimeBase[0], 20u);
    EXPECT_LE(run.unitsBeforeTimeBase[0], 26u);
    EXPECT_TRUE(run.units[1].empty());
    ExpectPayloadIsElementaryStream(run, 0, "demux_video.m2v", probed, kVideoPid);
}

TEST(FfmpegDemuxTest, DamagedStreamStillDeliversMostUnits)
{
    const DemuxRun clean = DemuxFile(MediaPath("services.ts"), kVideoPid, kMp2Pid);
    const DemuxRun run = DemuxFile(MediaPath("demux_corrupt.ts"), kVideoPid, kMp2Pid, 3, true);
    EXPECT_EQ(1, run.timeBaseEvents);
    for (int pin = 0; pin < 2; ++pin) {
        EXPECT_GT(run.units[pin].size(), clean.units[pin].size() * 3 / 4) << "pin " << pin;
        EXPECT_LE(run.units[pin].size(), clean.units[pin].size() + 5) << "pin " << pin;
    }
}

} // namespace
