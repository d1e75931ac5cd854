// Datagrams of a multicast channel into the PID router: seven packets bare (1316 bytes) or behind
// an RTP header (1328 bytes), beside memcpy of the same datagrams. Prints packets per second and
// the margin over a 100 Mbit/s stream on one core.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB/demux/CTSSectionStream.h"
#include "dvb/libDVB_EthernetDevice/TransportDatagram.h"

namespace {

struct Sink : libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
    uint64_t count = 0;
    HRESULT OnStreamPacket(libDVB::CTSDemultiplexerStream*, const uint8_t* data, uint32_t, uint32_t) override
    {
        count += data[4];
        return S_OK;
    }
};

constexpr size_t kDatagrams = 20000;

// Datagrams of a service bouquet: video-heavy PID mix, continuity counters running.
std::vector<std::vector<uint8_t>> MakeDatagrams(bool rtp)
{
    const uint16_t pids[] = {0x100, 0x100, 0x100, 0x100, 0x100, 0x100, 0x101, 0x102, 0x102, 0x102, 0x103, 0x200, 0x11, 0x0};
    uint8_t cc[0x2000] = {};
    uint32_t seed = 7;
    std::vector<std::vector<uint8_t>> datagrams(kDatagrams);
    for (size_t i = 0; i < kDatagrams; ++i) {
        auto& d = datagrams[i];
        if (rtp)
            d = {0x80, 33, static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i), 0, 0, 0, 0, 1, 2, 3, 4};
        for (int k = 0; k < 7; ++k) {
            seed = seed * 1103515245u + 12345u;
            const uint16_t pid = pids[(seed >> 16) % (sizeof pids / sizeof pids[0])];
            uint8_t p[188];
            std::memset(p, static_cast<int>(seed >> 8), sizeof p);
            p[0] = 0x47;
            p[1] = static_cast<uint8_t>(pid >> 8);
            p[2] = static_cast<uint8_t>(pid);
            p[3] = static_cast<uint8_t>(0x10 | (cc[pid]++ & 0x0F));
            d.insert(d.end(), p, p + 188);
        }
    }
    return datagrams;
}

void BM_DeliverDatagram(benchmark::State& state)
{
    const auto datagrams = MakeDatagrams(state.range(0) != 0);
    Sink sink;
    libDVB::CTSDemultiplexer router;
    std::vector<libDVB::CTSRelayStream*> relays;
    for (uint16_t pid : {0x100, 0x101, 0x102, 0x103, 0x200})
        relays.push_back(new libDVB::CTSRelayStream(&sink, pid));
    libDVB::CTSSectionStream pat(&sink, 0), sdt(&sink, 0x11);
    for (auto* r : relays)
        router.RegisterStream(r);
    router.RegisterStream(&pat);
    router.RegisterStream(&sdt);
    for (auto _ : state) {
        for (const auto& d : datagrams)
            libDVB_EthernetDevice::DeliverDatagram(router, d.data(), d.size());
        benchmark::DoNotOptimize(sink.count);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kDatagrams * 7);
    for (auto* r : relays) {
        router.UnregisterStream(r->GetPid());
        delete r;
    }
    router.UnregisterStream(0);
    router.UnregisterStream(0x11);
}

void BM_MemcpyDatagram(benchmark::State& state)
{
    const auto datagrams = MakeDatagrams(state.range(0) != 0);
    std::vector<uint8_t> out(1400);
    for (auto _ : state) {
        for (const auto& d : datagrams) {
            std::memcpy(out.data(), d.data(), d.size());
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kDatagrams * 7);
}

// Argument: 0 = bare 1316-byte datagrams, 1 = RTP 1328-byte datagrams.
BENCHMARK(BM_DeliverDatagram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyDatagram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

struct RatioReporter : benchmark::ConsoleReporter {
    double routed[2] = {}, copied[2] = {};
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            const double rate = r.counters.count("items_per_second") ? double(r.counters.at("items_per_second")) : 0;
            const std::string name = r.benchmark_name();
            const int rtp = name.find("/1") != std::string::npos ? 1 : 0;
            if (name.find("DeliverDatagram") != std::string::npos)
                routed[rtp] = rate;
            else if (name.find("MemcpyDatagram") != std::string::npos)
                copied[rtp] = rate;
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // 100 Mbit/s of transport stream: 100e6 / 8 / 188 packets per second.
    const double needed = 100e6 / 8 / 188;
    const char* names[2] = {"1316-byte bare", "1328-byte RTP"};
    for (int i = 0; i < 2; ++i)
        if (reporter.routed[i] > 0 && reporter.copied[i] > 0)
            std::printf("%s: %.0f packets/s routed (%.1f x 100 Mbit/s), memcpy %.0f packets/s, ratio %.3f\n", names[i],
                        reporter.routed[i], reporter.routed[i] / needed, reporter.copied[i],
                        reporter.routed[i] / reporter.copied[i]);
    return 0;
}
