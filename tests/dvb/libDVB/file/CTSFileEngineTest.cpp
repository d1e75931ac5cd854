// The file engine on a file ffmpeg wrote: the programs, PIDs and names it finds must be what
// ffprobe reports, and every elementary-stream packet must arrive, paced, as often as a byte scan
// of the file counts it.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <map>
#include <sstream>

#include "ServiceTestKit.h"
#include "base/Utf16.h"
#include "dvb/libDVB/file/win/CTSFileEngine.h"
#include "support/TestMedia.h"

using libDVB::CService;
using libDVB::CStream;
using libDVB::CTSFileEngine;
using namespace test;

namespace {

struct Probe {
    struct Program {
        uint16_t pmtPid = 0, pcrPid = 0;
        std::string name, provider;
        std::vector<uint16_t> pids;
    };
    std::map<uint16_t, Program> programs;
    std::map<uint16_t, uint32_t> packets, pcrs;
};

Probe ReadProbe(const std::string& path)
{
    Probe probe;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        uint32_t a = 0, b = 0;
        words >> kind >> a;
        if (kind == "program") {
            Probe::Program& p = probe.programs[static_cast<uint16_t>(a)];
            words >> p.pmtPid >> p.pcrPid;
            std::string rest;
            std::getline(words, rest);
            rest = rest.substr(1);
            p.name = rest.substr(0, rest.find('|'));
            p.provider = rest.substr(rest.find('|') + 1);
        } else if (kind == "stream") {
            words >> b;
            probe.programs[static_cast<uint16_t>(a)].pids.push_back(static_cast<uint16_t>(b));
        } else if (kind == "packets" || kind == "pcrs") {
            words >> b;
            (kind == "packets" ? probe.packets : probe.pcrs)[static_cast<uint16_t>(a)] = b;
        }
    }
    return probe;
}

std::u16string Wide(const std::string& path) { return base::Utf8ToUtf16(path); }

// Counts the packets the reader thread hands to the services, readable from the test's thread.
class CCountingListener : public CTestListener {
public:
    HRESULT OnServicePacket(CService*, uint16_t pid, const uint8_t*, uint32_t, uint32_t) override
    {
        counts[pid].fetch_add(1);
        return S_OK;
    }
    std::atomic<uint32_t> counts[0x2000] = {};
};

bool OpensForWriting(const std::string& path)
{
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(Wide(path).c_str()), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

// Stream time that never advances: every PCR then asks for a longer wait than the one before.
class CFrozenClock : public CTSFileEngine::CClock {
public:
    uint64_t NowMs() override { return 0; }
    bool Wait(HANDLE stop, uint32_t ms) override
    {
        longest = std::max<uint32_t>(longest, ms);
        return WaitForSingleObject(stop, ms) == WAIT_OBJECT_0;
    }
    std::atomic<uint32_t> longest{0};
};

} // namespace

TEST(TSFileEngine, ListsTheProgramsAndDeliversEveryPacketPaced)
{
    const std::string path = MediaPath("file_engine.ts");
    const Probe probe = ReadProbe(MediaPath("file_engine.txt"));
    ASSERT_EQ(probe.programs.size(), 2u);

    CCountingListener listener;
    CTSFileEngine engine(nullptr, Wide(path));
    EXPECT_EQ(engine.StartStreaming(), E_FAIL); // not started: no file
    ASSERT_EQ(engine.Start(&listener), S_OK);
    EXPECT_EQ(engine.GetState(), CTSFileEngine::kRunning);
    EXPECT_EQ(engine.GetServiceManager().GetDeviceKind(), u"FILE");
    EXPECT_EQ(engine.CanPause(), S_FALSE);
    EXPECT_FALSE(OpensForWriting(path));

    // The pacing PID: the most PCRs, the lower PID on a tie.
    uint16_t pacing = 0;
    uint32_t most = 0;
    for (const auto& e : probe.pcrs)
        if (e.second > most)
            most = e.second, pacing = e.first;
    EXPECT_EQ(engine.GetPacingPid(), pacing);

    ASSERT_EQ(listener.services.size(), probe.programs.size());
    std::map<uint16_t, uint32_t> expected;
    for (const auto& entry : probe.programs) {
        SCOPED_TRACE(entry.first);
        CService* s = listener.Service(entry.first);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(base::Utf16ToUtf8(s->GetName()), entry.second.name);
        EXPECT_EQ(base::Utf16ToUtf8(s->GetProvider()), entry.second.provider);
        EXPECT_EQ(s->GetReceptionState(), CService::kReceived);
        ASSERT_NE(s->GetPCRStream(), nullptr);
        EXPECT_EQ(s->GetPCRStream()->pid, entry.second.pcrPid);
        EXPECT_EQ(s->GetStreamCount(), entry.second.pids.size());
        for (uint16_t pid : entry.second.pids) {
            EXPECT_TRUE(s->FindStream(pid, CStream::kVideo) || s->FindStream(pid, CStream::kAudio)) << pid;
            expected[pid] = probe.packets.at(pid);
        }
        s->ActivateDecoding();
    }

    const ULONGLONG started = GetTickCount64();
    ASSERT_EQ(engine.StartStreaming(), S_OK);
    EXPECT_EQ(engine.StartStreaming(), S_FALSE);
    auto complete = [&] {
        for (const auto& e : expected)
            if (listener.counts[e.first].load() < e.second)
                return false;
        return true;
    };
    while (!complete() && GetTickCount64() - started < 15000)
        Sleep(20);
    const ULONGLONG elapsed = GetTickCount64() - started;
    for (const auto& e : expected)
        EXPECT_EQ(listener.counts[e.first].load(), e.second) << "pid " << e.first;
    // Three seconds of stream take about three seconds to play.
    EXPECT_GT(elapsed, 2500u);
    EXPECT_EQ(engine.StopStreaming(), S_OK);
    EXPECT_EQ(engine.Stop(), S_OK);
    EXPECT_TRUE(OpensForWriting(path));
    EXPECT_EQ(engine.StartStreaming(), E_FAIL);
}

TEST(TSFileEngine, StopStreamingEndsAPacingWaitAtOnce)
{
    CFrozenClock clock;
    CTestListener listener;
    const std::string path = MediaPath("file_engine.ts");
    {
        CTSFileEngine engine(nullptr, Wide(path), &clock);
        ASSERT_EQ(engine.Start(&listener), S_OK);
        ASSERT_EQ(engine.StartStreaming(), S_OK);
        const ULONGLONG until = GetTickCount64() + 10000;
        while (clock.longest.load() < 1000 && GetTickCount64() < until)
            Sleep(10);
        ASSERT_GE(clock.longest.load(), 1000u);
        const ULONGLONG stopping = GetTickCount64();
        EXPECT_EQ(engine.StopStreaming(), S_OK);
        EXPECT_LT(GetTickCount64() - stopping, 500u);
        // Destroyed while streaming again: the reader ends first and the file is closed.
        ASSERT_EQ(engine.StartStreaming(), S_OK);
    }
    EXPECT_TRUE(OpensForWriting(path));
}

TEST(TSFileEngine, FilesWithoutTablesOrWithoutAFileFail)
{
    char folder[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string small = std::string(folder) + "tolvik_100_bytes.ts";
    {
        std::ofstream out(small, std::ios::binary);
        out << std::string(100, '\x47');
    }
    CTestListener listener;
    {
        CTSFileEngine engine(nullptr, Wide(small));
        const ULONGLONG started = GetTickCount64();
        EXPECT_EQ(engine.Start(&listener), E_FAIL);
        const ULONGLONG elapsed = GetTickCount64() - started;
        EXPECT_GE(elapsed, 450u);
        EXPECT_LT(elapsed, 1500u);
        EXPECT_EQ(engine.GetState(), CTSFileEngine::kStopped);
        EXPECT_TRUE(OpensForWriting(small)); // a failed start keeps no file open
        EXPECT_EQ(engine.StartStreaming(), E_FAIL);
    }
    DeleteFileA(small.c_str());

    CTSFileEngine missing(nullptr, u"C:\\no such folder\\none.ts");
    EXPECT_EQ(missing.Start(&listener), E_FAIL);
    EXPECT_EQ(missing.GetState(), CTSFileEngine::kStopped);
}
