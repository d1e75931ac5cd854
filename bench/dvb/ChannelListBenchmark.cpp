// Loading and saving a channel file of 10,000 records beside the independent Python reader and
// writer of the same file (their own parse and build times, without interpreter start-up); prints
// how many times faster our load and save are.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/File.h"
#include "base/Utf16.h"
#include "dvb/DVBPlaybackCore/CServices.h"

namespace {

constexpr int kRecords = 10000;

struct CPeer {
    std::string folder;
    double writeSeconds = -1, readSeconds = -1;
};

const CPeer& Peer()
{
    static const CPeer peer = [] {
        CPeer p;
        char pattern[] = "/tmp/tolvik-channel-bench-XXXXXX";
        p.folder = mkdtemp(pattern) ? pattern : "/tmp";
        const std::string command = "/usr/bin/python3 " + std::string(TOLVIK_SOURCE_DIR) +
                                    "/tests/dvb/DVBPlaybackCore/channel_file.py bench " + std::to_string(kRecords) +
                                    " " + p.folder + "/channels.dat";
        if (FILE* pipe = popen(command.c_str(), "r")) {
            if (std::fscanf(pipe, "%lf %lf", &p.writeSeconds, &p.readSeconds) != 2)
                p.writeSeconds = p.readSeconds = -1;
            pclose(pipe);
        }
        return p;
    }();
    return peer;
}

void BM_LoadChannels(benchmark::State& state)
{
    const std::u16string folder = base::Utf8ToUtf16(Peer().folder);
    size_t loaded = 0;
    for (auto _ : state) {
        DVBPlaybackCore::CServices list(nullptr, folder);
        DVBPlaybackCore::CServices::ServiceArray all;
        list.GetAllServices(all);
        loaded = all.size();
    }
    if (loaded != kRecords)
        state.SkipWithError("the channel file did not load");
}

void BM_SaveChannels(benchmark::State& state)
{
    DVBPlaybackCore::CServices list(nullptr, base::Utf8ToUtf16(Peer().folder));
    const std::u16string path = base::Utf8ToUtf16(Peer().folder + "/saved.dat");
    for (auto _ : state) {
        if (!base::WriteFileReplacing(path, list.SerialiseChannels()))
            state.SkipWithError("the channel file could not be written");
    }
}

BENCHMARK(BM_LoadChannels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveChannels)->Unit(benchmark::kMillisecond);

struct RatioReporter : benchmark::ConsoleReporter {
    double load = 0, save = 0;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            const double seconds = r.GetAdjustedRealTime() / 1e3; // milliseconds
            if (r.benchmark_name().find("Load") != std::string::npos)
                load = seconds;
            else if (r.benchmark_name().find("Save") != std::string::npos)
                save = seconds;
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const CPeer& peer = Peer();
    if (peer.readSeconds > 0 && reporter.load > 0)
        std::printf("load %d records: %.1f ms, python reader %.1f ms, %.1f times faster\n", kRecords,
                    reporter.load * 1e3, peer.readSeconds * 1e3, peer.readSeconds / reporter.load);
    if (peer.writeSeconds > 0 && reporter.save > 0)
        std::printf("save %d records: %.1f ms, python writer %.1f ms, %.1f times faster\n", kRecords,
                    reporter.save * 1e3, peer.writeSeconds * 1e3, peer.writeSeconds / reporter.save);
    std::system(("rm -rf '" + peer.folder + "'").c_str());
    return 0;
}
