// The recorder on hand-built packets: header bytes, long PES, malformed packets, the reserve and
// the single end-of-recording callback.
#include <gtest/gtest.h>

#include "media/record/RecorderTestSupport.h"
#include "support/PesBuilder.h"

using namespace test;
using record::CMPEG2Recorder;

namespace {

constexpr uint16_t kVideo = 0x100, kAudio = 0x101;

// A video payload that begins with a 720x576 sequence header (ISO/IEC 13818-2, 6.2.2.1).
std::vector<uint8_t> SdSequence(size_t size)
{
    std::vector<uint8_t> payload(size, 0x11);
    const uint8_t header[] = {0, 0, 1, 0xB3, 0x2D, 0x02, 0x40, 0x33};
    std::copy(std::begin(header), std::end(header), payload.begin());
    return payload;
}

class MPEG2RecorderTest : public ::testing::Test {
protected:
    CMPEG2Recorder* Make(int percent, size_t failAfter = SIZE_MAX)
    {
        m_callback.recorder =
            new CMPEG2Recorder(new CMemorySink(m_out, failAfter), percent, new CScriptedFreeSpace(m_free, m_fails), &m_callback);
        m_callback.recorder->SetPids(kVideo, kAudio);
        return m_callback.recorder;
    }
    void PushPes(uint16_t pid, const std::vector<uint8_t>& pes)
    {
        for (const auto& p : PacketizePes(pid, pes, m_continuity))
            if (m_callback.recorder)
                m_callback.recorder->OnPacket(p.data(), static_cast<int>(p.size()));
    }
    void TearDown() override { delete m_callback.recorder; }

    std::vector<uint8_t> m_out;
    uint64_t m_free = 10000000000ull;
    bool m_fails = false;
    CDeletingCallback m_callback;
    uint8_t m_continuity = 0;
};

TEST_F(MPEG2RecorderTest, ReserveIsTheShareOfFreeSpaceNotToUse)
{
    EXPECT_EQ(2000000000ull, Make(80)->Reserve());
    delete m_callback.recorder;
    EXPECT_EQ(0ull, Make(100)->Reserve());
    delete m_callback.recorder;
    EXPECT_EQ(0ull, Make(150)->Reserve());
    delete m_callback.recorder;
    EXPECT_EQ(m_free, Make(-5)->Reserve());
    delete m_callback.recorder;
    m_free = ~0ull;
    EXPECT_EQ(~0ull / 100 * 50 + (~0ull % 100) * 50 / 100, Make(50)->Reserve());
    delete m_callback.recorder;
    m_fails = true;
    EXPECT_EQ(0ull, Make(10)->Reserve());
}

TEST_F(MPEG2RecorderTest, WritesNothingBeforeTheFirstVideoPtsThenPackAndSystemHeaders)
{
    Make(80);
    PushPes(kAudio, MakePes(1000, std::vector<uint8_t>(100, 0x55), 0, 0xC0));
    PushPes(kAudio, MakePes(2000, std::vector<uint8_t>(100, 0x55), 0, 0xC0));
    EXPECT_TRUE(m_out.empty());
    PushPes(kVideo, MakePes(90000, SdSequence(1000), 0, 0xE3));
    PushPes(kVideo, MakePes(93600, std::vector<uint8_t>(10, 0x22), 0, 0xE0));
    PushPes(kVideo, MakePes(97200, std::vector<uint8_t>(10, 0x22), 0, 0xE0));
    // Written in decoding order: the video waits for audio that could come before it.
    EXPECT_TRUE(m_out.empty());
    PushPes(kAudio, MakePes(95000, std::vector<uint8_t>(100, 0x55), 0, 0xC0));
    PushPes(kAudio, MakePes(97000, std::vector<uint8_t>(100, 0x55), 0, 0xC0));
    ASSERT_GE(m_out.size(), 32u + 1014u);
    // The pack starts at 90000 - 45000; its SCR names the arrival of its byte 8 (0.3 ticks later
    // at 20 Mbit/s); mux rate 50000 units of 50 bytes/s.
    const uint64_t scr = 45001;
    const std::vector<uint8_t> pack = {0, 0, 1, 0xBA,
                                       static_cast<uint8_t>(0x44 | ((scr >> 27) & 0x38) | ((scr >> 28) & 3)),
                                       static_cast<uint8_t>(scr >> 20),
                                       static_cast<uint8_t>(((scr >> 12) & 0xF8) | 4 | ((scr >> 13) & 3)),
                                       static_cast<uint8_t>(scr >> 5), static_cast<uint8_t>(((scr << 3) & 0xF8) | 4),
                                       0x01, 0x03, 0x0D, 0x43, 0xF8};
    EXPECT_EQ(pack, std::vector<uint8_t>(m_out.begin(), m_out.begin() + 14));
    const std::vector<uint8_t> system = {0, 0, 1, 0xBB, 0x00, 0x0C, 0x81, 0x86, 0xA1, 0x04, 0x21, 0xFF,
                                         0xE0, 0xE0, 0xE0, 0xC0, 0xC0, 0x80};
    EXPECT_EQ(system, std::vector<uint8_t>(m_out.begin() + 14, m_out.begin() + 32));
    // The video PES follows with stream id 0xE0 and its program-stream length.
    EXPECT_EQ(0xE0, m_out[35]);
    EXPECT_EQ(1014 - 6, (m_out[36] << 8) | m_out[37]);
}

TEST_F(MPEG2RecorderTest, VideoStartsAtItsFirstSequenceHeaderAndTheRecordingEndsWithTheEndCode)
{
    Make(80);
    m_callback.recorder->SetPids(kVideo, 0);
    PushPes(kVideo, MakePes(90000, {0, 0, 1, 0, 0x11, 0x22}, 0, 0xE0)); // a picture: no sequence yet
    PushPes(kVideo, MakePes(93600, SdSequence(100), 0, 0xE0));
    PushPes(kVideo, MakePes(97200, std::vector<uint8_t>(10, 0x22), 0, 0xE0));
    delete m_callback.recorder;
    m_callback.recorder = nullptr;
    // Pack and a system header of one stream (29 bytes), the PES's 14-byte header.
    ASSERT_GE(m_out.size(), 29u + 114u + 4u);
    EXPECT_EQ(SdSequence(100), std::vector<uint8_t>(m_out.begin() + 29 + 14, m_out.begin() + 29 + 114));
    EXPECT_EQ(std::vector<uint8_t>({0, 0, 1, 0xB9}), std::vector<uint8_t>(m_out.end() - 4, m_out.end()));
}

TEST_F(MPEG2RecorderTest, TimestampsCountFromTheRecordingsStartAcrossTheClockWrap)
{
    // The broadcast's clock 2 s before its 33-bit wrap: the first video PTS decodes at 1 s, the
    // next pictures 2.04 s and 2.12 s later (across the wrap), the audio between them.
    const uint64_t wrap = uint64_t(1) << 33, first = wrap - 180000;
    Make(80);
    PushPes(kVideo, MakePes(first, std::vector<uint8_t>(100, 0x11), 0, 0xE0));
    PushPes(kVideo, MakePes(3600, std::vector<uint8_t>(100, 0x22), 0, 0xE0));
    PushPes(kAudio, MakePes(7200, std::vector<uint8_t>(100, 0x55), 0, 0xC0));
    PushPes(kVideo, MakePes(10800, std::vector<uint8_t>(100, 0x22), 0, 0xE0));
    delete m_callback.recorder;
    m_callback.recorder = nullptr;
    std::vector<std::pair<int, uint64_t>> times; // stream id (0xBA: SCR), time
    for (size_t at = 0; at + 14 <= m_out.size();) {
        const uint8_t* p = m_out.data() + at;
        if (p[3] == 0xBA) {
            times.push_back({0xBA, (uint64_t((p[4] >> 3) & 7) << 30) | (uint64_t(p[4] & 3) << 28) | (p[5] << 20) |
                                       ((p[6] >> 3) << 15) | ((p[6] & 3) << 13) | (p[7] << 5) | (p[8] >> 3)});
            at += 14;
            continue;
        }
        if ((p[7] & 0x80) && p[3] != 0xBB)
            times.push_back({p[3], (uint64_t((p[9] >> 1) & 7) << 30) | (p[10] << 22) | ((p[11] >> 1) << 15) |
                                       (p[12] << 7) | (p[13] >> 1)});
        at += 6 + ((p[4] << 8) | p[5]);
    }
    const std::vector<std::pair<int, uint64_t>> expected = {
        {0xBA, 45001}, {0xE0, 90000}, {0xBA, 45003}, {0xE0, 273600}, {0xC0, 277200}, {0xBA, 45005}, {0xE0, 280800}};
    EXPECT_EQ(expected, times);
}

TEST_F(MPEG2RecorderTest, LongVideoPesIsCutIntoPiecesWithTheirOwnHeaders)
{
    Make(80);
    std::vector<uint8_t> payload(150000);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>(i * 13);
    auto pes = MakePes(90000, payload, 0, 0xE0);
    pes[4] = pes[5] = 0; // unbounded, as in transport streams
    PushPes(kVideo, pes);
    delete m_callback.recorder;
    m_callback.recorder = nullptr;
    // pack + system, then pieces of 65504 bytes: the first with the original header, the rest
    // with a 9-byte header; the end code.
    size_t at = 32;
    std::vector<uint8_t> joined;
    bool first = true;
    while (at + 4 < m_out.size()) {
        ASSERT_EQ(0xE0, m_out[at + 3]);
        const size_t length = (m_out[at + 4] << 8) | m_out[at + 5];
        const size_t header = 9 + m_out[at + 8];
        EXPECT_EQ(first ? 14u : 9u, header);
        joined.insert(joined.end(), m_out.begin() + static_cast<ptrdiff_t>(at + header),
                      m_out.begin() + static_cast<ptrdiff_t>(at + 6 + length));
        at += 6 + length;
        first = false;
    }
    EXPECT_EQ(m_out.size(), at + 4);
    EXPECT_EQ(payload, joined);
}

TEST_F(MPEG2RecorderTest, MalformedPacketsAndPiecesWithoutAHeaderAreNotWritten)
{
    Make(80);
    PushPes(kVideo, MakePes(90000, std::vector<uint8_t>(500, 1), 0, 0xE0));
    const size_t before = m_out.size();
    // Adaptation lengths up to 255 with and without payload, a short and a long packet.
    for (int length = 0; length <= 255; ++length) {
        TSPacket p = MakePacket(kAudio, std::vector<uint8_t>(184, 0x33), {true});
        p[3] = static_cast<uint8_t>(length & 1 ? 0x30 : 0x20);
        p[4] = static_cast<uint8_t>(length);
        m_callback.recorder->OnPacket(p.data(), 188);
        m_callback.recorder->OnPacket(p.data(), 187);
    }
    // Audio whose PES has no start code.
    for (const auto& p : PacketizePes(kAudio, std::vector<uint8_t>(300, 0x44), m_continuity))
        m_callback.recorder->OnPacket(p.data(), 188);
    PushPes(kAudio, MakePes(1000, std::vector<uint8_t>(100, 0x55), 0, 0xC0));
    EXPECT_EQ(before, m_out.size());
    EXPECT_EQ(0, m_callback.calls);
}

TEST_F(MPEG2RecorderTest, FreeSpaceBelowTheReserveEndsTheRecordingOnce)
{
    Make(80);
    PushPes(kVideo, MakePes(90000, std::vector<uint8_t>(5000, 1), 0, 0xE0));
    EXPECT_EQ(0, m_callback.calls);
    m_free = 2000000000ull;
    PushPes(kVideo, MakePes(93600, std::vector<uint8_t>(500, 1), 0, 0xE0));
    EXPECT_EQ(0, m_callback.calls);
    m_free = 1999999999ull;
    // Asked once per 32 packets: within 32 packets of the drop.
    for (int i = 0; i < CMPEG2Recorder::kPacketsPerSpaceQuery && m_callback.recorder; ++i)
        PushPes(kVideo, MakePes(97200 + i * 3600, std::vector<uint8_t>(100, 1), 0, 0xE0));
    EXPECT_EQ(1, m_callback.calls);
    EXPECT_EQ(nullptr, m_callback.recorder); // deleted inside the callback
    ASSERT_GE(m_out.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>({0, 0, 1, 0xB9}), std::vector<uint8_t>(m_out.end() - 4, m_out.end()));
}

TEST_F(MPEG2RecorderTest, FailingSinkEndsTheRecordingOnce)
{
    m_callback.deleteRecorder = false;
    Make(100, 3000)->SetPids(kVideo, 0);
    for (int i = 0; i < 10; ++i)
        PushPes(kVideo, MakePes(90000 + i * 3600, std::vector<uint8_t>(1000, 1), 0, 0xE0));
    EXPECT_EQ(1, m_callback.calls);
    EXPECT_TRUE(m_callback.recorder->Stopped());
    const size_t written = m_out.size();
    EXPECT_LE(written, 3000u);
    PushPes(kVideo, MakePes(200000, std::vector<uint8_t>(1000, 1), 0, 0xE0));
    EXPECT_EQ(1, m_callback.calls);
    EXPECT_EQ(written, m_out.size());
}

} // namespace
