// The demultiplexer core (PushPacket) and the program-stream recorder (OnPacket) over one minute
// of an MPEG-2 service, in packets per second, beside ffmpeg doing the same work with stream
// copy (its own -benchmark times: TS demultiplexing to null, and TS to an MPEG-2 program
// stream); prints the ratios. The stream is made on first use.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/filters/mpegdemux/CMpegDemuxCore.h"
#include "media/record/CMPEG2Recorder.h"
#include "support/Peer.h"

namespace {

struct Stream {
    std::string path;
    std::vector<uint8_t> bytes;
    size_t Packets() const { return bytes.size() / 188; }
};

const Stream& Service()
{
    static const Stream s{bench::MediaPath("bench_service.ts"),
                          bench::LoadMedia("bench_service.ts",
                                           "-f lavfi -i testsrc2=size=720x576:rate=25 "
                                           "-f lavfi -i sine=frequency=440:sample_rate=48000 -t 60 -c:v mpeg2video "
                                           "-b:v 6M -bf 2 -c:a mp2 -b:a 192k -f mpegts")};
    return s;
}

struct NullSink : record::CBaseRecorderSink {
    uint64_t bytes = 0;
    HRESULT Write(const uint8_t*, int length) override
    {
        bytes += static_cast<uint64_t>(length);
        return S_OK;
    }
};

struct PlentyOfSpace : record::CFreeSpaceQuery {
    bool FreeBytes(uint64_t* bytes) override
    {
        *bytes = uint64_t(1) << 40;
        return true;
    }
};

void BM_PushPacket(benchmark::State& state)
{
    const Stream& s = Service();
    if (s.bytes.empty()) {
        state.SkipWithError("no stream");
        return;
    }
    mpegdemux::CMpegDemuxCore core;
    mpegdemux::CMpegDemuxCore::CEvents events;
    size_t units = 0;
    for (auto _ : state) {
        core.SetPIDs(256, 257);
        for (size_t i = 0; i < s.Packets(); ++i) {
            core.PushPacket(&s.bytes[i * 188], 188, 3, events);
            units += events.size();
            events.clear();
        }
    }
    benchmark::DoNotOptimize(units);
    state.counters["packets"] = benchmark::Counter(static_cast<double>(s.Packets()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_OnPacket(benchmark::State& state)
{
    const Stream& s = Service();
    if (s.bytes.empty()) {
        state.SkipWithError("no stream");
        return;
    }
    uint64_t written = 0;
    for (auto _ : state) {
        auto* sink = new NullSink;
        record::CMPEG2Recorder recorder(sink, 80, new PlentyOfSpace, nullptr);
        recorder.SetPids(256, 257);
        for (size_t i = 0; i < s.Packets(); ++i)
            recorder.OnPacket(&s.bytes[i * 188], 188);
        written += sink->bytes;
    }
    benchmark::DoNotOptimize(written);
    state.counters["packets"] = benchmark::Counter(static_cast<double>(s.Packets()), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_PushPacket)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OnPacket)->Unit(benchmark::kMillisecond);

struct RateReporter : benchmark::ConsoleReporter {
    double demux = 0, recorder = 0;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            if (!r.counters.count("packets"))
                continue;
            (r.benchmark_name().find("PushPacket") != std::string::npos ? demux : recorder) = r.counters.at("packets");
        }
    }
};

// ffmpeg's own time from -benchmark ("bench: utime=... rtime=1.234s"), best of three: the null
// muxer of PeerDecodeSeconds cannot write a program stream.
double PeerSeconds(const std::string& arguments)
{
    double best = -1;
    for (int i = 0; i < 3; ++i) {
        FILE* pipe = popen(("ffmpeg -nostdin -hide_banner -benchmark " + arguments + " 2>&1").c_str(), "r");
        if (!pipe)
            return -1;
        char line[512];
        double seconds = -1;
        while (std::fgets(line, sizeof line, pipe)) {
            const char* at = std::strstr(line, "rtime=");
            if (at)
                seconds = std::atof(at + 6);
        }
        pclose(pipe);
        if (seconds > 0 && (best < 0 || seconds < best))
            best = seconds;
    }
    return best;
}

void Compare(const char* what, double ours, double packets, double seconds)
{
    if (seconds <= 0 || ours <= 0) {
        std::printf("%s: ffmpeg run failed\n", what);
        return;
    }
    const double peer = packets / seconds;
    std::printf("%s: ours %.0f packets/s, ffmpeg %.0f packets/s, ratio %.2f\n", what, ours, peer, ours / peer);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const Stream& s = Service();
    const double packets = static_cast<double>(s.Packets());
    const std::string input = "-i '" + s.path + "' -map 0:v:0 -map 0:a:0 -c copy";
    Compare("TS demultiplexing (video + audio PES)", reporter.demux, packets,
            bench::PeerDecodeSeconds(input, "-frames:v 1"));
    Compare("TS to MPEG-2 program stream", reporter.recorder, packets, PeerSeconds(input + " -f vob -y /dev/null"));
    return 0;
}
