// A multiplex no one here wrote (ffmpeg, two programs) through the router in random chunks.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB/demux/CTSSectionStream.h"
#include "support/TestCrc.h"
#include "support/TestMedia.h"

using namespace libDVB;

namespace {

struct Counter : CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
    std::map<uint16_t, int> packets;
    std::map<uint16_t, int> sections;
    std::map<uint16_t, int> badCrc;
    std::set<uint16_t> pmtPids;
    HRESULT OnStreamPacket(CTSDemultiplexerStream* stream, const uint8_t* data, uint32_t length, uint32_t) override
    {
        if (length == 188 && data[0] == 0x47 && TSPacketPid(data) == stream->GetPid() &&
            dynamic_cast<CTSRelayStream*>(stream)) {
            ++packets[stream->GetPid()];
            return S_OK;
        }
        ++sections[stream->GetPid()];
        if (length < 4 || test::MpegCrc32(data, length) != 0)
            ++badCrc[stream->GetPid()];
        if (stream->GetPid() == 0 && data[0] == 0x00 && length >= 12)
            for (uint32_t i = 8; i + 4 <= length - 4; i += 4)
                if (((data[i] << 8) | data[i + 1]) != 0)
                    pmtPids.insert(static_cast<uint16_t>(((data[i + 2] & 0x1F) << 8) | data[i + 3]));
        return S_OK;
    }
};

// Counts the packets that reach a section stream, then assembles as usual.
struct CountingSectionStream : CTSSectionStream {
    CountingSectionStream(CTSDemultiplexerStreamCallback* owner, uint16_t pid) : CTSSectionStream(owner, pid) {}
    HRESULT OnPacket(const uint8_t* packet, uint32_t length) override
    {
        ++packets;
        return CTSSectionStream::OnPacket(packet, length);
    }
    int packets = 0;
};

} // namespace

TEST(FfmpegMultiplex, RandomChunksRouteEveryPacketAndEverySectionHasAValidCrc)
{
    const auto file = test::ReadFileBytes(test::MediaPath("two_programs.ts"));
    ASSERT_GT(file.size(), 188u * 100);
    ASSERT_EQ(file.size() % 188, 0u);

    // Learn the PMT PIDs from the PAT.
    Counter probe;
    {
        CTSDemultiplexer router;
        CTSSectionStream pat(&probe, 0);
        router.RegisterStream(&pat);
        router.InputBytes(file.data(), static_cast<uint32_t>(file.size()));
        router.UnregisterStream(0);
    }
    ASSERT_EQ(probe.pmtPids.size(), 2u);

    // Start inside a packet whose tail holds no 0x47, so the independent count knows what is lost.
    size_t start = 0;
    for (size_t k = 10; k < file.size() / 188 && !start; ++k) {
        const size_t s = k * 188 + 100;
        bool clean = true;
        for (size_t i = s; i < (k + 1) * 188; ++i)
            clean = clean && file[i] != 0x47;
        if (clean)
            start = s;
    }
    ASSERT_NE(start, 0u);
    std::map<uint16_t, int> expected;
    // Every packet after the cut one: the end of the input releases the last.
    for (size_t i = (start / 188 + 1) * 188; i < file.size(); i += 188)
        ++expected[TSPacketPid(&file[i])];

    Counter counter;
    CTSDemultiplexer router;
    std::vector<std::unique_ptr<CTSDemultiplexerStream>> streams;
    std::vector<CountingSectionStream*> sectionStreams;
    for (const auto& e : expected) {
        if (e.first == 0 || probe.pmtPids.count(e.first)) {
            auto s = std::make_unique<CountingSectionStream>(&counter, e.first);
            sectionStreams.push_back(s.get());
            streams.push_back(std::move(s));
        } else {
            streams.push_back(std::make_unique<CTSRelayStream>(&counter, e.first));
        }
        ASSERT_EQ(router.RegisterStream(streams.back().get()), S_OK);
    }

    test::CTestRandom random(20261209);
    size_t offset = start;
    while (offset < file.size()) {
        const size_t n = std::min<size_t>(1 + random.Below(6000), file.size() - offset);
        router.InputBytes(&file[offset], static_cast<uint32_t>(n));
        offset += n;
    }
    EXPECT_EQ(offset, file.size());
    router.EndInput();

    for (const auto* s : sectionStreams)
        counter.packets[s->GetPid()] = s->packets;
    EXPECT_EQ(counter.packets, expected);
    for (uint16_t pid : {uint16_t(0), *probe.pmtPids.begin(), *probe.pmtPids.rbegin()}) {
        EXPECT_GT(counter.sections[pid], 3) << "pid " << pid;
        EXPECT_EQ(counter.badCrc[pid], 0) << "pid " << pid;
    }
    for (auto& s : streams)
        router.UnregisterStream(s->GetPid());
}
