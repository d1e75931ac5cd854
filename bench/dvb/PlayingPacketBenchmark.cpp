// The per-packet cost of a playing channel: a channel record takes a video or audio packet from its
// device (stream lock, decoding check, PID choice) and the engine's slot path passes it to the user
// interface; beside memcpy of the same packets, as the frame's data path copies them. Prints the
// ratio of the two rates.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "dvb/DVBPlaybackCore/CQORService.h"
#include "dvb/DVBPlaybackCore/PlayingPacketRelay.h"
#include "dvb/libDVB/service/CStream.h"
#include "support/RatioReporter.h"

namespace {

constexpr size_t kPackets = 100000;

std::vector<uint8_t> MakePackets()
{
    std::vector<uint8_t> ts(kPackets * 188);
    uint32_t seed = 7;
    for (size_t i = 0; i < kPackets; ++i) {
        uint8_t* p = &ts[i * 188];
        const uint16_t pid = i % 8 == 7 ? 0x101 : 0x100; // video and audio as a channel carries them
        p[0] = 0x47;
        p[1] = static_cast<uint8_t>(pid >> 8);
        p[2] = static_cast<uint8_t>(pid);
        p[3] = static_cast<uint8_t>(0x10 | (i & 0x0F));
        for (int j = 4; j < 188; ++j)
            p[j] = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    }
    return ts;
}

const std::vector<uint8_t>& Packets()
{
    static const std::vector<uint8_t> ts = MakePackets();
    return ts;
}

// The frame's end of the path: it copies each packet into its demultiplexer's buffer.
struct Frame {
    uint8_t buffer[188];
    uint64_t sum = 0;
    HRESULT OnTransportPacket(int32_t, const uint8_t* packet, int32_t length)
    {
        std::memcpy(buffer, packet, static_cast<size_t>(length));
        sum += buffer[4];
        return S_OK;
    }
};

// The engine's callback with its slot, as the channel engine answers a record's packets.
struct Engine : libDVB::CService::CServiceCallback {
    std::atomic<DVBPlaybackCore::CQORService*> slot{nullptr};
    Frame frame;
    HRESULT OnServicePacket(libDVB::CService* service, uint16_t, const uint8_t* packet, uint32_t length,
                            uint32_t) override
    {
        return DVBPlaybackCore::RelayPlayingPacket(slot, service, frame, packet, length);
    }
    HRESULT OnServiceChanged(libDVB::CService*, uint32_t, uint32_t, uint32_t) override { return S_OK; }
    HRESULT OnTeletextPage(libDVB::CTeletextDecoder*, uint32_t, bool, bool) override { return S_OK; }
};

void BM_PlayingPacket(benchmark::State& state)
{
    const auto& ts = Packets();
    Engine engine;
    DVBPlaybackCore::CQORService service(&engine, nullptr, 301, 1110, u"One");
    service.AddStream(new libDVB::CStream(libDVB::CStream::kVideo, 0x100), false);
    service.AddStream(new libDVB::CAudioStream(0x101), false);
    service.ActivateDecoding();
    engine.slot.store(&service);
    for (auto _ : state) {
        for (size_t i = 0; i < kPackets; ++i)
            service.OnStreamPacket(nullptr, &ts[i * 188], 188, 0);
        benchmark::DoNotOptimize(engine.frame.sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPackets));
    if (engine.frame.sum == 0)
        state.SkipWithError("no packet reached the frame");
}

void BM_Memcpy(benchmark::State& state)
{
    const auto& ts = Packets();
    Frame frame;
    for (auto _ : state) {
        for (size_t i = 0; i < kPackets; ++i)
            frame.OnTransportPacket(0, &ts[i * 188], 188);
        benchmark::DoNotOptimize(frame.sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPackets));
}

BENCHMARK(BM_PlayingPacket)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::CRatioReporter reporter("items_per_second", "PlayingPacket", "Memcpy");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.ours > 0 && reporter.peer > 0)
        std::printf("playing-packet path / memcpy packet rate: %.3f (%.1f ns per packet)\n",
                    reporter.ours / reporter.peer, 1e9 / reporter.ours);
    return 0;
}
