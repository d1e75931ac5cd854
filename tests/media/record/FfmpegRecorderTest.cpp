// Program streams the recorder writes from streams ffmpeg made, read back by ffprobe and ffmpeg
// and walked pack by pack.
#include <gtest/gtest.h>

#include <iostream>

#include "media/record/RecorderTestSupport.h"
#include "support/TestMedia.h"

using namespace test;

namespace {

constexpr uint16_t kVideoPid = 256, kMp2Pid = 257, kAc3Pid = 258, kRadioPid = 259;

struct Recording {
    std::string path;
    // "codec,codec,... | audio codec,rate"
    std::string Probe() const
    {
        std::string all = Output("ffprobe -v error -show_entries stream=codec_name -of default=nw=1:nk=1 '" + path + "'");
        all += "| " + Output("ffprobe -v error -select_streams a -show_entries stream=codec_name,sample_rate "
                             "-of default=nw=1:nk=1 '" + path + "'");
        for (char& c : all)
            if (c == '\n')
                c = ' ';
        return all;
    }
    std::vector<uint8_t> Extract(const std::string& map, const std::string& format) const
    {
        const std::string es = path + "." + format;
        EXPECT_EQ(0, Run("ffmpeg -nostdin -v error -y -i '" + path + "' -map " + map + " -c copy -f " + format + " '" +
                         es + "'"));
        return ReadFileBytes(es);
    }
};

Recording Record(const std::string& ts, uint16_t videoPid, uint16_t audioPid, const std::string& name,
                 size_t firstPacket = 0)
{
    Recording r{MediaPath(name)};
    WriteFileBytes(r.path, RecordFile(MediaPath(ts), videoPid, audioPid, firstPacket));
    return r;
}

// The first packet of `pid` at or after `fraction` of the file that continues a PES (no unit start).
size_t FirstContinuation(const std::string& ts, uint16_t pid, double fraction)
{
    const auto bytes = ReadFileBytes(MediaPath(ts));
    for (size_t k = static_cast<size_t>(bytes.size() / 188 * fraction); (k + 1) * 188 <= bytes.size(); ++k) {
        const uint8_t* p = bytes.data() + k * 188;
        if ((((p[1] & 0x1F) << 8) | p[2]) == pid && !(p[1] & 0x40))
            return k;
    }
    ADD_FAILURE() << "no continuation packet of PID " << pid << " in " << ts;
    return 0;
}

void ExpectValidProgramStream(const Recording& r, const std::string& ids)
{
    EXPECT_EQ(0, test::Run("python3 '" + SourcePath("tests/media/record/ps_walker.py") + "' '" + r.path + "' " + ids));
    EXPECT_EQ(0, Run("ffmpeg -nostdin -v error -xerror -i '" + r.path + "' -f null - 2>&1"));
}

// What was recorded ends the source: everything from the point where recording began.
void ExpectTailOf(const std::vector<uint8_t>& ours, const std::string& reference)
{
    const auto theirs = ReadFileBytes(MediaPath(reference));
    ASSERT_FALSE(ours.empty());
    ASSERT_LE(ours.size(), theirs.size());
    EXPECT_TRUE(std::equal(ours.begin(), ours.end(), theirs.end() - static_cast<ptrdiff_t>(ours.size())))
        << reference;
    EXPECT_GT(ours.size(), theirs.size() * 9 / 10);
}

TEST(FfmpegRecorderTest, VideoWithMpegAudio)
{
    const auto r = Record("services.ts", kVideoPid, kMp2Pid, "rec_mp2.mpg");
    ExpectValidProgramStream(r, "c0,e0");
    EXPECT_EQ("mpeg2video mp2 | mp2 48000 ", r.Probe());
    // The first video PES has a PTS, so the whole video is there.
    EXPECT_EQ(ReadFileBytes(MediaPath("demux_video.m2v")), r.Extract("0:v", "mpeg2video"));
    ExpectTailOf(r.Extract("0:a", "mp2"), "demux_mp2.mp2");
}

TEST(FfmpegRecorderTest, VideoWithAc3AsPrivateStream)
{
    const auto r = Record("services.ts", kVideoPid, kAc3Pid, "rec_ac3.mpg");
    ExpectValidProgramStream(r, "bd,e0");
    EXPECT_EQ("mpeg2video ac3 | ac3 48000 ", r.Probe());
    EXPECT_EQ(ReadFileBytes(MediaPath("demux_video.m2v")), r.Extract("0:v", "mpeg2video"));
    ExpectTailOf(r.Extract("0:a", "ac3"), "demux_ac3.ac3");
}

TEST(FfmpegRecorderTest, RadioProgrammeStartsAtItsFirstAudioPts)
{
    const auto r = Record("services.ts", 0, kRadioPid, "rec_radio.mpg");
    ExpectValidProgramStream(r, "c0");
    EXPECT_EQ("mp2 | mp2 48000 ", r.Probe());
}

TEST(FfmpegRecorderTest, BPicturesKeepTheScrRising)
{
    const auto r = Record("demux_bframes.ts", kVideoPid, kMp2Pid, "rec_bframes.mpg");
    ExpectValidProgramStream(r, "c0,e0");
    EXPECT_EQ(ReadFileBytes(MediaPath("demux_bframes.m2v")), r.Extract("0:v", "mpeg2video"));
}

TEST(FfmpegRecorderTest, ScrWrapsWithThePts)
{
    const auto r = Record("demux_wrap.ts", kVideoPid, kMp2Pid, "rec_wrap.mpg");
    ExpectValidProgramStream(r, "c0,e0");
    EXPECT_EQ(ReadFileBytes(MediaPath("demux_wrap.m2v")), r.Extract("0:v", "mpeg2video"));
}

TEST(FfmpegRecorderTest, DamagedStreamKeepsTheProgramStreamFraming)
{
    const auto r = Record("demux_corrupt.ts", kVideoPid, kMp2Pid, "rec_corrupt.mpg");
    EXPECT_EQ(0, test::Run("python3 '" + SourcePath("tests/media/record/ps_walker.py") + "' '" + r.path + "' c0,e0"));
    EXPECT_EQ("mpeg2video mp2 | mp2 48000 ", r.Probe());
}

// Recordings that a strict player could play by the standard's timing: one system header for the
// whole file naming every stream, every PES in the file before its DTS/PTS, each stream's buffer
// within its declared bound, the end code; checked by the walker, ffprobe and an ffmpeg decode.
TEST(FfmpegRecorderTest, RecordingsKeepTheProgramStreamTimingAndBuffers)
{
    struct Case {
        const char* name;
        const char* ts;
        uint16_t videoPid, audioPid;
        double startAt; // fraction of the file where recording starts: inside a GOP and an audio PES
        const char* ids;
        const char* codecs;
    };
    const Case cases[] = {
        {"SD with MPEG audio", "psrec_sd_mp2.ts", 256, 257, 0, "c0,e0", "mpeg2video mp2 "},
        {"SD with AC-3 5.1", "psrec_sd_ac3.ts", 256, 257, 0, "bd,e0", "mpeg2video ac3 "},
        {"1080i at 15 Mbit/s", "psrec_hd.ts", 256, 257, 0, "c0,e0", "mpeg2video mp2 "},
        {"radio", "psrec_radio.ts", 0, 256, 0, "c0", "mp2 "},
        {"start inside a GOP and an AC-3 PES", "psrec_sd_ac3.ts", 256, 257, 0.4, "bd,e0", "mpeg2video ac3 "},
        {"audio sent 0.6 s before its video", "psrec_audio_early.ts", 256, 257, 0, "c0,e0", "mpeg2video mp2 "},
        {"audio sent 0.6 s after its video", "psrec_audio_late.ts", 256, 257, 0, "c0,e0", "mpeg2video mp2 "},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t first = c.startAt > 0 ? FirstContinuation(c.ts, c.audioPid, c.startAt) : 0;
        const auto r = Record(c.ts, c.videoPid, c.audioPid, "rec_timing" + std::to_string(index++) + ".mpg", first);
        const std::string walk = Output("python3 '" + SourcePath("tests/media/record/ps_walker.py") + "' --timing '" +
                                        r.path + "' " + c.ids + "; echo status $?");
        std::cout << c.name << ": " << walk;
        EXPECT_NE(std::string::npos, walk.find("status 0\n")) << walk;
        EXPECT_EQ(c.codecs, Output("ffprobe -v error -show_entries stream=codec_name -of default=nw=1:nk=1 '" + r.path +
                                   "' | LC_ALL=C sort -r | tr '\\n' ' '"));
        EXPECT_EQ("", Output("ffmpeg -nostdin -v error -xerror -i '" + r.path + "' -f null - 2>&1"));
    }
}

} // namespace
