// The section dispatcher: version bookkeeping, refusals, section streams on the router, threads.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SIBuilders.h"
#include "base/TraceCapture.h"
#include "dvb/libDVB/demux/CTSSectionStream.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB/si/CSIParser.h"
#include "support/TSPacketBuilder.h"

using namespace libDVB;
using test::Bytes;
using test::MakeLongSection;

namespace {

struct CCall {
    char kind; // P M C N B E S D T
    uint8_t state;
    uint8_t tableId;
    uint64_t key;
};

class CRecordingOwner : public CSIParser::CSIParserCallback {
public:
    HRESULT OnPAT(CSIParser* parser, const uint8_t* s, uint32_t n, CPATTable* t) override
    {
        Note('P', *t);
        if (addPmtPids && SUCCEEDED(t->Parse(s, n)))
            for (const auto& program : t->GetPrograms())
                parser->AddPid(program.second);
        return Next();
    }
    HRESULT OnPMT(CSIParser*, const uint8_t*, uint32_t, CPMTTable* t) override { return Note('M', *t), Next(); }
    HRESULT OnCAT(CSIParser*, const uint8_t*, uint32_t, CCATTable* t) override { return Note('C', *t), Next(); }
    HRESULT OnNIT(CSIParser*, const uint8_t*, uint32_t, CNITTable* t) override { return Note('N', *t), Next(); }
    HRESULT OnBAT(CSIParser*, const uint8_t*, uint32_t, CBATTable* t) override { return Note('B', *t), Next(); }
    HRESULT OnEIT(CSIParser*, const uint8_t*, uint32_t, CEITTable* t) override { return Note('E', *t), Next(); }
    HRESULT OnSDT(CSIParser*, const uint8_t*, uint32_t, CSDTTable* t) override { return Note('S', *t), Next(); }
    HRESULT OnTDT(CSIParser*, const uint8_t* s, uint32_t n, CTDTTable* t) override
    {
        Note('D', *t);
        lastTime = SUCCEEDED(t->Parse(s, n)) ? t->GetUtcTime() : -1;
        return Next();
    }
    HRESULT OnTOT(CSIParser*, const uint8_t*, uint32_t, CTOTTable* t) override { return Note('T', *t), Next(); }

    std::vector<CCall> calls;
    std::vector<HRESULT> results; // handed out in turn; S_OK once used up
    bool addPmtPids = false;
    int64_t lastTime = 0;

    std::vector<uint8_t> States() const
    {
        std::vector<uint8_t> s(calls.size());
        for (size_t i = 0; i < calls.size(); ++i)
            s[i] = calls[i].state;
        return s;
    }

private:
    void Note(char kind, const CSITable& t) { calls.push_back({kind, t.GetState(), t.GetTableId(), t.GetKey()}); }
    HRESULT Next()
    {
        if (results.empty())
            return S_OK;
        const HRESULT hr = results.front();
        results.erase(results.begin());
        return hr;
    }
};

struct ParserFixture : ::testing::Test {
    CTSDemultiplexer router;
    CRecordingOwner owner;
    CSIParser parser{&router, &owner};

    HRESULT Feed(const Bytes& s) { return parser.OnStreamPacket(nullptr, s.data(), static_cast<uint32_t>(s.size()), 0); }
};

Bytes Pat(uint8_t version, uint8_t number = 0, uint8_t last = 0)
{
    return MakeLongSection(0x00, 0x0A1B, version, number, last, {0x00, 0x05, 0xE1, 0x00});
}

Bytes Eit(uint8_t tableId, uint16_t sid, uint16_t tsid, uint16_t onid, uint8_t version)
{
    return MakeLongSection(tableId, sid, version, 0, 0,
                           {static_cast<uint8_t>(tsid >> 8), static_cast<uint8_t>(tsid), static_cast<uint8_t>(onid >> 8),
                            static_cast<uint8_t>(onid), 0x00, tableId});
}

Bytes Sdt(uint16_t tsid, uint16_t onid, uint8_t version)
{
    return MakeLongSection(0x42, tsid, version, 0, 0, {static_cast<uint8_t>(onid >> 8), static_cast<uint8_t>(onid), 0xFF});
}

} // namespace

TEST_F(ParserFixture, ASectionIsActedOnOncePerVersion)
{
    EXPECT_EQ(Feed(Pat(0)), S_OK);
    EXPECT_EQ(Feed(Pat(0)), S_OK);
    EXPECT_EQ(Feed(Pat(0)), S_OK);
    EXPECT_EQ(Feed(Pat(1)), S_OK);
    EXPECT_EQ(Feed(Pat(1)), S_OK);
    EXPECT_EQ(Feed(Pat(0)), S_OK); // going back is a change of version too
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 2, 2, 1, 2, 1}));
    EXPECT_EQ(owner.calls[0].key, 0x0A1Bu);
}

TEST_F(ParserFixture, DeclinedAndFailedSectionsComeRoundAgain)
{
    owner.results = {S_FALSE, S_FALSE, S_OK};
    for (int i = 0; i < 4; ++i)
        Feed(Pat(0));
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 0, 0, 2}));

    owner.calls.clear();
    owner.results = {E_FAIL, S_OK};
    EXPECT_EQ(Feed(Pat(1)), E_FAIL);
    EXPECT_EQ(Feed(Pat(1)), S_OK);
    EXPECT_EQ(Feed(Pat(1)), S_OK);
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 1, 2}));
}

TEST_F(ParserFixture, SectionsOfOneVersionAreTrackedOneByOne)
{
    Feed(Pat(4, 0, 1));
    Feed(Pat(4, 1, 1));
    Feed(Pat(4, 0, 1));
    Feed(Pat(4, 1, 1));
    Feed(Pat(5, 1, 1)); // a new version forgets both
    Feed(Pat(5, 0, 1));
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 1, 2, 2, 1, 1}));
}

TEST_F(ParserFixture, RefusedSectionsReachNoOneAndLeaveNoTrace)
{
    auto bad = Pat(0);
    bad[8] ^= 0x40;
    EXPECT_EQ(Feed(bad), E_FAIL);
    auto notYet = Pat(0);
    notYet[5] &= 0xFE;
    test::FixCrc(notYet);
    EXPECT_EQ(Feed(notYet), E_FAIL);
    EXPECT_EQ(Feed(Pat(0, 2, 1)), E_FAIL); // section_number above last_section_number
    auto cut = Pat(0);
    EXPECT_EQ(parser.OnStreamPacket(nullptr, cut.data(), static_cast<uint32_t>(cut.size() - 1), 0), E_FAIL);
    EXPECT_EQ(parser.OnStreamPacket(nullptr, nullptr, 0, 0), E_FAIL);
    EXPECT_TRUE(owner.calls.empty());
    Feed(Pat(0));
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1})); // the good copy is still a first sight

    Bytes unknown = MakeLongSection(0x72, 1, 0, 0, 0, {});
    EXPECT_EQ(Feed(unknown), S_FALSE);
    EXPECT_EQ(owner.calls.size(), 1u);
}

TEST_F(ParserFixture, EveryTableIdReachesItsOperation)
{
    Feed(Pat(0));
    Feed(MakeLongSection(0x02, 5, 0, 0, 0, {0xE1, 0x00, 0xF0, 0x00}));
    Feed(MakeLongSection(0x01, 0xFFFF, 0, 0, 0, {}));
    Feed(MakeLongSection(0x40, 1, 0, 0, 0, {0xF0, 0x00, 0xF0, 0x00}));
    Feed(MakeLongSection(0x41, 1, 0, 0, 0, {0xF0, 0x00, 0xF0, 0x00}));
    Feed(MakeLongSection(0x4A, 1, 0, 0, 0, {0xF0, 0x00, 0xF0, 0x00}));
    Feed(Sdt(0x0A1B, 0x2C3D, 0));
    Feed(MakeLongSection(0x46, 0x0A1C, 0, 0, 0, {0x2C, 0x3D, 0xFF}));
    Feed(Eit(0x4E, 1, 2, 3, 0));
    Feed(Eit(0x6F, 1, 2, 3, 0));
    Feed(test::ShortSection(0x70, test::MjdTime(0xC079, 12, 45, 0), false));
    Feed(test::ShortSection(0x73, {0xC0, 0x79, 0x12, 0x45, 0x00, 0xF0, 0x00}, true));
    std::string kinds;
    for (const auto& c : owner.calls)
        kinds += c.kind;
    EXPECT_EQ(kinds, "PMCNNBSSEEDT");
    EXPECT_EQ(owner.lastTime, 750516300);
    for (const auto& c : owner.calls)
        EXPECT_EQ(c.state, 1) << c.kind;
}

TEST_F(ParserFixture, VersionKeysSeparateTablesThatShareATableIdExtension)
{
    Feed(Eit(0x50, 0x0101, 0x0A1B, 0x2C3D, 0));
    Feed(Eit(0x50, 0x0101, 0x0A1B, 0x2C3D, 0));
    Feed(Eit(0x51, 0x0101, 0x0A1B, 0x2C3D, 0)); // its own record
    Feed(Eit(0x50, 0x0101, 0x0A1C, 0x2C3D, 0)); // another transport stream
    Feed(Eit(0x50, 0x0101, 0x0A1B, 0x2C3E, 0)); // another network
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 2, 1, 1, 1}));
    EXPECT_EQ(owner.calls[0].key, (0x50ull << 56) | (0x2C3Dull << 32) | (0x0A1Bull << 16) | 0x0101);

    owner.calls.clear();
    Feed(Sdt(0x0A1B, 0x2C3D, 0));
    Feed(Sdt(0x0A1B, 0x2C3E, 0));
    Feed(Sdt(0x0A1B, 0x2C3D, 0));
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 1, 2}));
    EXPECT_EQ(owner.calls[0].key, (0x42ull << 56) | (0x2C3Dull << 16) | 0x0A1B);

    owner.calls.clear();
    Feed(MakeLongSection(0x40, 7, 0, 0, 0, {0xF0, 0x00, 0xF0, 0x00}));
    Feed(MakeLongSection(0x41, 7, 0, 0, 0, {0xF0, 0x00, 0xF0, 0x00}));
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 1}));
    EXPECT_EQ(owner.calls[1].key, (0x41ull << 56) | 7);
}

TEST_F(ParserFixture, TimeTablesAreHandedOverEveryTime)
{
    const auto tdt = test::ShortSection(0x70, test::MjdTime(0xC079, 12, 45, 0), false);
    owner.results = {S_OK, E_FAIL};
    EXPECT_EQ(Feed(tdt), S_OK);
    EXPECT_EQ(Feed(tdt), E_FAIL);
    EXPECT_EQ(Feed(tdt), S_OK);
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 1, 1}));
    auto tot = test::ShortSection(0x73, {0xC0, 0x79, 0x12, 0x45, 0x00, 0xF0, 0x00}, true);
    tot[3] ^= 1;
    EXPECT_EQ(Feed(tot), E_FAIL);
    EXPECT_EQ(owner.calls.size(), 3u);
}

TEST_F(ParserFixture, StartStopAndAddPidManageSectionStreams)
{
    ASSERT_EQ(parser.Start(), S_OK);
    EXPECT_EQ(parser.GetPids(), (std::vector<uint16_t>{0, 1}));
    ASSERT_NE(router.FindStream(0), nullptr);
    EXPECT_EQ(router.FindStream(0)->GetOwner(), &parser);
    EXPECT_TRUE(router.IsPidEnabled(1));

    EXPECT_EQ(parser.AddPid(0x100), S_OK);
    CTSDemultiplexerStream* first = router.FindStream(0x100);
    EXPECT_EQ(parser.AddPid(0x100), E_INVALIDARG);
    EXPECT_EQ(router.FindStream(0x100), first);
    EXPECT_TRUE(router.IsPidEnabled(0x100));

    // A PID that someone else serves stays theirs, before and after Stop.
    CTSRelayStream foreign(nullptr, 0x200);
    ASSERT_EQ(router.RegisterStream(&foreign), S_OK);
    EXPECT_EQ(parser.AddPid(0x200), E_INVALIDARG);
    EXPECT_EQ(parser.AddPid(0x2000), E_INVALIDARG); // no such PID
    EXPECT_EQ(parser.GetPids(), (std::vector<uint16_t>{0, 1, 0x100}));

    Feed(Pat(0));
    EXPECT_EQ(parser.Stop(), S_OK);
    EXPECT_TRUE(parser.GetPids().empty());
    for (uint16_t pid : {0, 1, 0x100}) {
        EXPECT_EQ(router.FindStream(pid), nullptr);
        EXPECT_FALSE(router.IsPidEnabled(pid));
    }
    EXPECT_EQ(router.FindStream(0x200), &foreign);
    router.UnregisterStream(0x200);

    // Versions were forgotten: the same PAT is a first sight again.
    ASSERT_EQ(parser.Restart(), S_OK);
    Feed(Pat(0));
    EXPECT_EQ(owner.States(), (std::vector<uint8_t>{1, 1}));
    EXPECT_EQ(parser.GetPids(), (std::vector<uint16_t>{0, 1}));
}

TEST_F(ParserFixture, PacketsThroughTheRouterReachTheOwnerAndItsNewPids)
{
    owner.addPmtPids = true;
    ASSERT_EQ(parser.Start(), S_OK);
    uint8_t cc0 = 0, cc1 = 0;
    for (const auto& p : test::PacketizeSections(0x0000, {Pat(0)}, cc0))
        router.DeliverPacket(p.data(), 188);
    ASSERT_NE(router.FindStream(0x100), nullptr); // the PMT PID named by the PAT
    const Bytes pmt = MakeLongSection(0x02, 5, 0, 0, 0, {0xE1, 0x00, 0xF0, 0x00, 0x02, 0xE1, 0x00, 0xF0, 0x00});
    for (const auto& p : test::PacketizeSections(0x0100, {pmt, pmt}, cc1))
        router.DeliverPacket(p.data(), 188);
    ASSERT_EQ(owner.calls.size(), 3u);
    EXPECT_EQ(owner.calls[1].kind, 'M');
    EXPECT_EQ(owner.calls[1].state, 1);
    EXPECT_EQ(owner.calls[2].state, 2);
    parser.Stop();
    EXPECT_EQ(router.FindStream(0x100), nullptr);
}

// Packets on the device thread register PIDs from inside the table callback (router stream lock
// held, then the parser's lock) while another thread stops and starts the parser. Both paths must
// take the locks in the same order, or this deadlocks.
TEST(SIParserThreads, StopAndStartWhilePacketsAddPids)
{
    CTSDemultiplexer router;
    CRecordingOwner owner;
    owner.addPmtPids = true;
    CSIParser parser(&router, &owner);
    ASSERT_EQ(parser.Start(), S_OK);

    std::vector<std::vector<test::TSPacket>> pats;
    uint8_t cc = 0;
    for (int v = 0; v < 32; ++v) {
        const uint16_t pid = static_cast<uint16_t>(0x100 + v);
        pats.push_back(test::PacketizeSections(
            0, {MakeLongSection(0x00, 1, static_cast<uint8_t>(v), 0, 0,
                                {0x00, static_cast<uint8_t>(v + 1), static_cast<uint8_t>(0xE0 | (pid >> 8)), static_cast<uint8_t>(pid)})},
            cc));
    }
    std::atomic<bool> done{false};
    std::thread device([&] {
        for (int round = 0; !done.load(); ++round)
            for (const auto& p : pats[round % pats.size()])
                router.DeliverPacket(p.data(), 188);
    });
    for (int i = 0; i < 300; ++i) {
        parser.Stop();
        parser.Start();
    }
    done = true;
    device.join();
    parser.Stop();
    for (uint16_t pid = 0; pid < 0x200; ++pid)
        ASSERT_EQ(router.FindStream(pid), nullptr) << pid;
    EXPECT_FALSE(owner.calls.empty());
}

TEST_F(ParserFixture, RefusedSectionsTellTheTraceWhy)
{
    base::CTraceCapture trace;
    auto bad = Pat(0);
    bad[8] ^= 0x40;
    Feed(bad);
    EXPECT_TRUE(trace.Has("section", "CRC_32 mismatch"));
    auto notYet = Pat(0);
    notYet[5] &= 0xFE;
    test::FixCrc(notYet);
    Feed(notYet);
    EXPECT_TRUE(trace.Has("section", "current_next_indicator 0"));
    Feed(Pat(0, 2, 1));
    EXPECT_TRUE(trace.Has("section", "section_number past last_section_number"));
    auto cut = Pat(0);
    parser.OnStreamPacket(nullptr, cut.data(), static_cast<uint32_t>(cut.size() - 1), 0);
    EXPECT_TRUE(trace.Has("section", "section_length past the data"));

    // A pointer_field that points past the packet's payload.
    CTSSectionStream stream(&parser, 0x10);
    test::PacketOptions start;
    start.payloadUnitStart = true;
    const test::TSPacket packet = test::MakePacket(0x10, Bytes(184, 0xC8), start);
    EXPECT_EQ(stream.OnPacket(packet.data(), 188), E_FAIL);
    EXPECT_TRUE(trace.Has("section", "pointer_field past the packet"));
    EXPECT_EQ(trace.Lines().size(), 5u) << "one line a refusal";
}
