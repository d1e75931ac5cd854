// A full guide refill (200 channels x 60 events, as the 5 ms guide timer may ask for while EIT
// arrives) and the first-visible walks of one drawing, beside a plain std::vector copy of the same
// data (the same strings) as the peer; prints microseconds per fill and the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "viewer/epg/CEPGData.h"

namespace {

constexpr int kChannels = 200;
constexpr int kEvents = 60;
constexpr int64_t kStart = 1780000000;

struct PeerEvent {
    uint32_t keyLow, keyHigh;
    CString title, text, extraText;
    int64_t start;
    int32_t minutes;
    uint32_t genre;
};
struct PeerChannel {
    CString name;
    uint32_t keyLow, keyHigh;
    std::vector<PeerEvent> events;
};

const std::vector<PeerChannel>& Grid()
{
    static const std::vector<PeerChannel> grid = [] {
        std::vector<PeerChannel> g;
        for (int c = 0; c < kChannels; ++c) {
            PeerChannel channel{(L"Channel " + std::to_wstring(c)).c_str(), static_cast<uint32_t>(c) << 16, 0x00010002, {}};
            for (int e = 0; e < kEvents; ++e)
                channel.events.push_back({static_cast<uint32_t>(e), static_cast<uint32_t>(c), (L"Programme " + std::to_wstring(e)).c_str(),
                                          L"A description of the programme", L"N/A", kStart + e * 1800, 30,
                                          static_cast<uint32_t>(e % 16)});
            g.push_back(std::move(channel));
        }
        return g;
    }();
    return grid;
}

void Fill(CEPGData& model)
{
    model.BeginUpdate();
    for (const PeerChannel& c : Grid()) {
        CEPGChannel* channel = nullptr;
        model.AddChannel(c.name, c.keyLow, c.keyHigh, &channel);
        for (const PeerEvent& e : c.events)
            model.AddEvent(channel, e.title, e.keyLow, e.keyHigh, e.start, e.minutes, e.genre, e.text,
                           e.extraText, 0);
    }
    model.Publish();
}

void BM_EPGFill(benchmark::State& state)
{
    CEPGData model(kStart);
    for (auto _ : state)
        Fill(model);
    if (model.RowCount() != kChannels || model.Row(0)->m_events.GetCount() != kEvents)
        state.SkipWithError("the grid was not filled");
}

void BM_VectorCopyPeer(benchmark::State& state)
{
    // A fresh copy each time, freed at the end of the iteration: the fill also builds a new grid
    // and frees the previous one (assignment into a kept vector would reuse every string's buffer).
    for (auto _ : state) {
        std::vector<PeerChannel> copy(Grid());
        benchmark::DoNotOptimize(copy.data());
    }
}

void BM_FindFirstVisible(benchmark::State& state)
{
    CEPGData model(kStart);
    Fill(model);
    const int64_t time = kStart + kEvents / 2 * 1800 + 60; // half-way through each row
    size_t found = 0;
    for (auto _ : state) {
        for (int r = 0; r < model.RowCount(); ++r)
            found += model.Row(r)->FindFirstVisible(time) != nullptr;
    }
    benchmark::DoNotOptimize(found);
}

BENCHMARK(BM_EPGFill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VectorCopyPeer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindFirstVisible)->Unit(benchmark::kMicrosecond);

struct RatioReporter : benchmark::ConsoleReporter {
    double fill = 0, peer = 0;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            if (r.benchmark_name().find("EPGFill") != std::string::npos)
                fill = r.GetAdjustedRealTime();
            else if (r.benchmark_name().find("VectorCopy") != std::string::npos)
                peer = r.GetAdjustedRealTime();
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.fill > 0 && reporter.peer > 0)
        std::printf("guide fill of %d x %d events: %.0f us, std::vector copy %.0f us: %.2f times the copy's time\n",
                    kChannels, kEvents, reporter.fill, reporter.peer, reporter.fill / reporter.peer);
    benchmark::Shutdown();
    return 0;
}
