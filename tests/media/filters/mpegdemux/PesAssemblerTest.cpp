// PES reassembly and time stamping on hand-built packets: boundary lengths, stream ids, malformed
// headers, buffer overflow, and the faults the reassembly must not have.
#include <gtest/gtest.h>

#include "media/filters/mpegdemux/DemuxTestSupport.h"
#include "support/PesBuilder.h"

using namespace test;
using mpegdemux::CDataPacket;
using mpegdemux::CMpegDemuxCore;

namespace {

constexpr uint16_t kVideo = 0x100, kAudio = 0x101;

std::vector<uint8_t> Bytes(size_t count, uint8_t seed)
{
    std::vector<uint8_t> b(count);
    for (size_t i = 0; i < count; ++i)
        b[i] = static_cast<uint8_t>(seed + i * 7);
    return b;
}

class PesAssemblerTest : public ::testing::Test {
protected:
    void SetUp() override { m_core.SetPIDs(kVideo, kAudio); }
    HRESULT Push(const TSPacket& p, unsigned connected = 3)
    {
        const HRESULT hr = m_core.PushPacket(p.data(), p.size(), connected, m_events);
        CollectEvents(m_events, m_run);
        return hr;
    }
    void PushPes(uint16_t pid, const std::vector<uint8_t>& pes)
    {
        for (const auto& p : PacketizePes(pid, pes, m_continuity))
            EXPECT_EQ(S_OK, Push(p));
    }
    CMpegDemuxCore m_core;
    CMpegDemuxCore::CEvents m_events;
    DemuxRun m_run;
    uint8_t m_continuity = 0;
};

TEST_F(PesAssemblerTest, TimesAreRoundedUpFromNinetyKilohertz)
{
    EXPECT_EQ(100000000, mpegdemux::PtsToReferenceTime(900000));
    EXPECT_EQ(112, mpegdemux::PtsToReferenceTime(1));
    EXPECT_EQ(333667, mpegdemux::PtsToReferenceTime(3003));
    EXPECT_EQ(0, mpegdemux::PtsToReferenceTime(0));
    // Unwrapping stays within half the 33-bit period of the reference.
    const int64_t period = int64_t(1) << 33;
    EXPECT_EQ(period + 100, CMpegDemuxCore::UnwrapPts(period - 200, 100));
    EXPECT_EQ(period - 300, CMpegDemuxCore::UnwrapPts(period + 50, period - 300));
    EXPECT_EQ(5, CMpegDemuxCore::UnwrapPts(9, 5));
}

TEST_F(PesAssemblerTest, UnitRunsFromOnePtsToTheNextAndJoinsPesWithoutPts)
{
    const auto a = Bytes(400, 1), b = Bytes(10, 2), c = Bytes(50, 3);
    PushPes(kVideo, MakePes(9000, a, 0, 0xE0));
    auto noPts = MakePes(0, b, 0, 0xE0);
    noPts[7] = 0x00; // PTS_DTS_flags 00: the five PTS bytes become header stuffing
    PushPes(kVideo, noPts);
    PushPes(kAudio, MakePes(9000, c, 3, 0xC0));
    EXPECT_EQ(9000 * 1000 / 9, m_run.timeBase);
    PushPes(kVideo, MakePes(12600, c, 0, 0xE0));
    ASSERT_EQ(1u, m_run.units[0].size());
    auto joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    EXPECT_EQ(joined, m_run.units[0][0].data);
    EXPECT_EQ(9000, m_run.units[0][0].pts);
}

TEST_F(PesAssemblerTest, Ac3IsStreamIdBDOnly)
{
    PushPes(kAudio, MakePes(1000, Bytes(100, 4), 0, 0xC0));
    // 0xBF, 0xFD and 0xFF share the bits of 0xBD but are no AC-3.
    for (uint8_t id : {uint8_t(0xBF), uint8_t(0xFD), uint8_t(0xFF)}) {
        for (const auto& p : PacketizePes(kAudio, MakePes(2000, Bytes(100, 5), 0, id), m_continuity))
            Push(p);
        EXPECT_TRUE(m_run.audioKindChanges.empty()) << int(id);
    }
    PushPes(kAudio, MakePes(3000, Bytes(100, 6), 0, 0xBD));
    ASSERT_EQ(1u, m_run.audioKindChanges.size());
    EXPECT_EQ(mpegdemux::CPesAssembler::kAc3, m_core.AudioKind());
    PushPes(kAudio, MakePes(4000, Bytes(100, 7), 0, 0xC3));
    EXPECT_EQ(2u, m_run.audioKindChanges.size());
    EXPECT_EQ(mpegdemux::CPesAssembler::kMpegAudio, m_core.AudioKind());
}

TEST_F(PesAssemblerTest, StartWithoutStartCodeEndsTheUnitInsteadOfGluingTheNextTail)
{
    const auto a = Bytes(300, 8);
    PushPes(kAudio, MakePes(1000, a, 0, 0xC0));
    TSPacket broken = MakePacket(kAudio, Bytes(184, 9), {true});
    EXPECT_EQ(S_FALSE, Push(broken));
    ASSERT_EQ(1u, m_run.units[1].size());
    EXPECT_EQ(a, m_run.units[1][0].data);
    // Its tail is not taken either.
    EXPECT_EQ(S_OK, Push(MakePacket(kAudio, Bytes(184, 10))));
    PushPes(kAudio, MakePes(2000, a, 0, 0xC0));
    PushPes(kAudio, MakePes(3000, a, 0, 0xC0));
    ASSERT_EQ(2u, m_run.units[1].size());
    EXPECT_EQ(a, m_run.units[1][1].data);
}

TEST_F(PesAssemblerTest, MalformedHeadersFailAndSkipTheirPes)
{
    auto pes = MakePes(1000, Bytes(100, 11), 0, 0xE0);
    pes[6] = 0x40; // not '10': MPEG-1 PES syntax
    auto packets = PacketizePes(kVideo, pes, m_continuity);
    EXPECT_EQ(E_FAIL, Push(packets[0]));
    pes = MakePes(1000, Bytes(100, 11), 0, 0xE0);
    pes[13] &= 0xFE; // a PTS marker bit
    EXPECT_EQ(E_FAIL, Push(PacketizePes(kVideo, pes, m_continuity)[0]));
    pes = MakePes(1000, Bytes(100, 11), 0, 0xE0);
    pes[8] = 200; // PES_header_data_length beyond the packet
    EXPECT_EQ(E_FAIL, Push(PacketizePes(kVideo, pes, m_continuity)[0]));
    EXPECT_EQ(S_OK, Push(MakePacket(kVideo, Bytes(184, 12))));
    EXPECT_EQ(0, m_run.timeBaseEvents);
    // Wrong length, wrong sync byte, null.
    TSPacket p = MakePacket(kVideo, Bytes(184, 12));
    EXPECT_EQ(E_FAIL, m_core.PushPacket(p.data(), 187, 3, m_events));
    p[0] = 0x48;
    EXPECT_EQ(E_FAIL, m_core.PushPacket(p.data(), 188, 3, m_events));
    EXPECT_EQ(E_POINTER, m_core.PushPacket(nullptr, 188, 3, m_events));
    EXPECT_TRUE(m_events.empty());
}

TEST_F(PesAssemblerTest, AdaptationFieldsOfEveryLengthAndShortStarts)
{
    // A PES start after an adaptation field of any length: the header fits from 14 bytes on.
    for (int adaptation = 0; adaptation <= 183; ++adaptation) {
        const auto pes = MakePes(90000 + adaptation * 3600, Bytes(183 - adaptation > 14 ? 183 - adaptation - 14 : 0, 13), 0, 0xE0);
        PacketOptions o;
        o.payloadUnitStart = true;
        o.adaptationLength = adaptation;
        const HRESULT hr = Push(MakePacket(kVideo, pes, o));
        if (183 - adaptation >= 14)
            EXPECT_EQ(S_OK, hr) << adaptation;
        else
            EXPECT_NE(S_OK, hr) << adaptation;
    }
    // Adaptation lengths past the packet (up to 255) add nothing and read nothing outside it.
    for (int length = 184; length <= 255; ++length) {
        TSPacket p = MakePacket(kVideo, {}, {});
        p[3] = 0x30;
        p[4] = static_cast<uint8_t>(length);
        Push(p);
    }
    // Every complete unit came through with its own bytes.
    for (const auto& unit : m_run.units[0])
        EXPECT_EQ(unit.data.size() + 14, 183u - (unit.pts - 90000) / 3600) << unit.pts;
}

TEST_F(PesAssemblerTest, UnitLargerThanTheBufferIsCutAndOnlyTheFirstPieceHasTheTime)
{
    const auto big = Bytes(mpegdemux::CPesAssembler::kVideoBufferSize + 5000, 14);
    PushPes(kVideo, MakePes(1000, big, 0, 0xE0));
    PushPes(kAudio, MakePes(1000, Bytes(10, 1), 0, 0xC0));
    PushPes(kVideo, MakePes(4600, Bytes(10, 1), 0, 0xE0));
    ASSERT_EQ(2u, m_run.units[0].size());
    EXPECT_NE(CDataPacket::kNoTime, m_run.units[0][0].start);
    EXPECT_EQ(CDataPacket::kNoTime, m_run.units[0][1].start);
    auto joined = m_run.Concatenated(0);
    EXPECT_EQ(big, joined);
}

TEST_F(PesAssemblerTest, UnconnectedOutputsAndUnknownPidsAreRefused)
{
    const auto packets = PacketizePes(kAudio, MakePes(1000, Bytes(10, 1), 0, 0xC0), m_continuity);
    EXPECT_EQ(S_FALSE, Push(packets[0], 1));
    EXPECT_EQ(S_FALSE, Push(MakePacket(0x555, Bytes(10, 1))));
    TSPacket adaptationOnly = MakePacket(kAudio, {}, {false, 0, 0, false, 183, false});
    EXPECT_EQ(S_FALSE, Push(adaptationOnly));
    // Equal PIDs go to the video output.
    m_core.SetPIDs(kVideo, kVideo);
    EXPECT_EQ(1, m_core.ExpectedOutputs(3));
    PushPes(kVideo, MakePes(1000, Bytes(10, 1), 0, 0xE0));
    EXPECT_EQ(1, m_run.timeBaseEvents);
}

TEST_F(PesAssemblerTest, ResetStartsANewGenerationAndDecidesTheBaseAgain)
{
    PushPes(kVideo, MakePes(1000, Bytes(10, 1), 0, 0xE0));
    PushPes(kAudio, MakePes(1000, Bytes(10, 1), 0, 0xC0));
    EXPECT_EQ(1, m_run.timeBaseEvents);
    const uint32_t generation = m_core.Generation();
    m_core.Reset();
    EXPECT_NE(generation, m_core.Generation());
    EXPECT_FALSE(m_core.TimeBaseDecided());
    PushPes(kAudio, MakePes(500000, Bytes(10, 1), 0, 0xC0));
    PushPes(kVideo, MakePes(400000, Bytes(10, 1), 0, 0xE0));
    EXPECT_EQ(2, m_run.timeBaseEvents);
    EXPECT_EQ(mpegdemux::PtsToReferenceTime(400000), m_run.timeBase);
}

} // namespace
