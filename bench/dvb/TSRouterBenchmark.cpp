// Routing a realistic multiplex (video, three audio, teletext, subtitles, PSI/SI sections) through
// InputBytes, one relay per elementary PID, beside memcpy of the same bytes; prints the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB/demux/CTSSectionStream.h"

namespace {

struct Sink : libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
    uint64_t count = 0;
    HRESULT OnStreamPacket(libDVB::CTSDemultiplexerStream*, const uint8_t* data, uint32_t, uint32_t) override
    {
        count += data[4];
        return S_OK;
    }
};

// A 20 MB multiplex: PID shares roughly as in a DVB-T service bouquet.
std::vector<uint8_t> MakeMultiplex()
{
    const uint16_t pids[] = {0x100, 0x100, 0x100, 0x100, 0x100, 0x100, 0x100, 0x100, 0x200, 0x300,
                             0x101, 0x101, 0x101, 0x101, 0x101, 0x101, 0x201, 0x301, 0x400, 0x12,
                             0x102, 0x102, 0x102, 0x102, 0x102, 0x202, 0x1FFF, 0x11, 0x0, 0x1000};
    const size_t packets = 20 * 1000 * 1000 / 188;
    std::vector<uint8_t> ts(packets * 188);
    uint8_t cc[0x2000] = {};
    uint32_t seed = 1;
    for (size_t i = 0; i < packets; ++i) {
        uint8_t* p = &ts[i * 188];
        seed = seed * 1103515245u + 12345u;
        const uint16_t pid = pids[(seed >> 16) % (sizeof pids / sizeof pids[0])];
        p[0] = 0x47;
        p[1] = static_cast<uint8_t>(pid >> 8);
        p[2] = static_cast<uint8_t>(pid);
        p[3] = static_cast<uint8_t>(0x10 | (cc[pid]++ & 0x0F));
        if (pid == 0 || pid == 0x11 || pid == 0x12 || pid == 0x1000) {
            // A start packet with a short section and stuffing.
            p[1] |= 0x40;
            std::memset(p + 4, 0xFF, 184);
            const uint8_t section[] = {0x00, 0x00, 0x02, 0xB0, 0x09, 0x00, 0x01, 0xC1, 0x00, 0x00, 0, 0, 0, 0};
            std::memcpy(p + 5, section + 2, sizeof section - 2);
            p[4] = 0;
        } else {
            for (int j = 4; j < 188; ++j)
                p[j] = static_cast<uint8_t>(seed >> (j & 15));
        }
    }
    return ts;
}

const std::vector<uint8_t>& Multiplex()
{
    static const std::vector<uint8_t> ts = MakeMultiplex();
    return ts;
}

void BM_InputBytes(benchmark::State& state)
{
    const auto& ts = Multiplex();
    Sink sink;
    libDVB::CTSDemultiplexer router;
    std::vector<libDVB::CTSRelayStream*> relays;
    for (uint16_t pid : {0x100, 0x101, 0x102, 0x200, 0x201, 0x202, 0x300, 0x301, 0x400})
        relays.push_back(new libDVB::CTSRelayStream(&sink, pid));
    libDVB::CTSSectionStream pat(&sink, 0), sdt(&sink, 0x11), eit(&sink, 0x12), pmt(&sink, 0x1000);
    for (auto* r : relays)
        router.RegisterStream(r);
    for (auto* s : {&pat, &sdt, &eit, &pmt})
        router.RegisterStream(s);
    const size_t chunk = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        for (size_t off = 0; off + chunk <= ts.size(); off += chunk)
            router.InputBytes(&ts[off], static_cast<uint32_t>(chunk));
        benchmark::DoNotOptimize(sink.count);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(ts.size() / chunk * chunk));
    for (auto* r : relays) {
        router.UnregisterStream(r->GetPid());
        delete r;
    }
}

void BM_Memcpy(benchmark::State& state)
{
    const auto& ts = Multiplex();
    std::vector<uint8_t> out(ts.size());
    const size_t chunk = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        for (size_t off = 0; off + chunk <= ts.size(); off += chunk)
            std::memcpy(&out[off], &ts[off], chunk);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(ts.size() / chunk * chunk));
}

// Chunk sizes as a BDA sample (one 188 x 348 buffer) delivers them.
BENCHMARK(BM_InputBytes)->Arg(188 * 348)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Arg(188 * 348)->Unit(benchmark::kMillisecond);

struct RatioReporter : benchmark::ConsoleReporter {
    double routed = 0, copied = 0;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            const double rate = r.counters.count("bytes_per_second") ? double(r.counters.at("bytes_per_second")) : 0;
            if (r.benchmark_name().find("InputBytes") != std::string::npos)
                routed = rate;
            else if (r.benchmark_name().find("Memcpy") != std::string::npos)
                copied = rate;
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.routed > 0 && reporter.copied > 0)
        std::printf("routing: %.0f MB/s, memcpy: %.0f MB/s, ratio %.3f (goal >= 0.4)\n", reporter.routed / 1e6,
                    reporter.copied / 1e6, reporter.routed / reporter.copied);
    return 0;
}
