// The file engine's reader unpaced (as during the pre-read): a transport-stream file read in
// blocks of 336 packets, cut, its PCRs counted and every packet routed to a relay per PID, beside
// ffmpeg demultiplexing the same file (stream copy to the null muxer, its own -benchmark time).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB/file/CTSFileReader.h"
#include "support/Peer.h"

namespace {

struct Sink : libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
    uint64_t count = 0;
    HRESULT OnStreamPacket(libDVB::CTSDemultiplexerStream*, const uint8_t* data, uint32_t, uint32_t) override
    {
        count += data[3];
        return S_OK;
    }
};

class CFileSource : public libDVB::CTSFileReader::CSource {
public:
    explicit CFileSource(FILE* file) : m_file(file) {}
    uint32_t Read(uint8_t* data, uint32_t size) override { return static_cast<uint32_t>(std::fread(data, 1, size, m_file)); }

private:
    FILE* m_file;
};

class CUnpacedClock : public libDVB::CTSFileReader::CClock {
public:
    uint64_t NowMs() override { return 0; }
    bool Wait(uint32_t) override { return false; }
    bool StopRequested() override { return false; }
};

const std::string& Input() { static const std::string path = bench::MediaPath("file_engine.ts"); return path; }

void BM_FileReader(benchmark::State& state)
{
    Sink sink;
    libDVB::CTSDemultiplexer router;
    std::vector<std::unique_ptr<libDVB::CTSRelayStream>> relays;
    for (uint16_t pid : {0x0, 0x11, 0x100, 0x101, 0x102, 0x103, 0x1000, 0x1001}) {
        relays.push_back(std::make_unique<libDVB::CTSRelayStream>(&sink, pid));
        router.RegisterStream(relays.back().get());
    }
    libDVB::CTSFileReader reader(&router);
    CUnpacedClock clock;
    FILE* file = std::fopen(Input().c_str(), "rb");
    if (!file) {
        state.SkipWithError("no input: run the media fixtures");
        return;
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        std::rewind(file);
        reader.ClearCarry();
        reader.ForgetPacingPid();
        CFileSource source(file);
        reader.Run(source, clock);
        bytes += std::ftell(file);
        benchmark::DoNotOptimize(sink.count);
    }
    std::fclose(file);
    state.SetBytesProcessed(bytes);
    for (const auto& r : relays)
        router.UnregisterStream(r->GetPid());
}

BENCHMARK(BM_FileReader)->Unit(benchmark::kMillisecond);

struct RateReporter : benchmark::ConsoleReporter {
    double rate = 0;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (r.counters.count("bytes_per_second"))
                rate = double(r.counters.at("bytes_per_second"));
    }
};

// ffmpeg's own real time for demultiplexing the file (best of three), from its -benchmark line.
double FfmpegSeconds()
{
    double best = -1;
    for (int i = 0; i < 3; ++i) {
        const std::string command = "ffmpeg -nostdin -hide_banner -benchmark -i '" + Input() +
                                    "' -map 0 -c copy -f null - 2>&1 | grep -o 'rtime=[0-9.]*s'";
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return -1;
        char line[128] = {};
        const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
        pclose(pipe);
        std::cmatch m;
        if (!got || !std::regex_search(line, m, std::regex("rtime=([0-9.]+)s")))
            return -1;
        const double seconds = std::stod(m[1].str());
        if (best < 0 || seconds < best)
            best = seconds;
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    FILE* file = std::fopen(Input().c_str(), "rb");
    if (!file)
        return 1;
    std::fseek(file, 0, SEEK_END);
    const double size = static_cast<double>(std::ftell(file));
    std::fclose(file);
    const double peer = FfmpegSeconds();
    if (reporter.rate > 0 && peer > 0)
        std::printf("file reader: %.0f MB/s, ffmpeg demultiplexing: %.0f MB/s, ratio %.2f\n", reporter.rate / 1e6,
                    size / peer / 1e6, reporter.rate / (size / peer));
    return 0;
}
