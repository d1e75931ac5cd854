// Decoding one 720 x 576 interlaced MPEG-2 stream (ten seconds, GOPs of 12 with B pictures,
// 8 Mbit/s, field DCT and field motion) with the core, and the same file with ffmpeg on one
// thread; prints frames per second of both and their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"
#include "support/CoreDecodeLoop.h"
#include "support/Peer.h"

namespace {

using namespace mpeg2video;

std::string StreamPath() { return bench::MediaPath("bench_mpeg2video_sd.m2v"); }

bool MakeStream()
{
    const std::string path = StreamPath();
    if (bench::RunCommand("test -s '" + path + "'"))
        return true;
    return bench::RunCommand("mkdir -p \"$(dirname '" + path + "')\" && ffmpeg -nostdin -loglevel error -y -f lavfi -i "
                             "testsrc2=size=720x576:rate=50 -vf tinterlace=interleave_top -frames:v 250 "
                             "-c:v mpeg2video -flags +ildct+ilme -top 1 -g 12 -bf 2 -b:v 8M -maxrate 9M "
                             "-bufsize 1835008 -f mpeg2video '" + path + ".tmp' && mv '" + path + ".tmp' '" + path + "'");
}

const std::vector<uint8_t>& Stream()
{
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> b;
        if (FILE* f = std::fopen(StreamPath().c_str(), "rb")) {
            uint8_t buf[65536];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
                b.insert(b.end(), buf, buf + n);
            std::fclose(f);
        }
        return b;
    }();
    return bytes;
}

int DecodeAll(const std::vector<uint8_t>& s, bool portable)
{
    Mpeg2VideoDecoderCore* c = nullptr;
    if (CreateDecoder(&c) != 0)
        return 0;
    if (portable)
        SelectRoutines(c, 0);
    int frames = 0;
    bench::DecodeStream(c, s, [&](PictureBuffer*) { ++frames; });
    DestroyDecoder(c);
    return frames;
}

double g_coreFps = 0, g_portableFps = 0;

void BM_DecodeCore(benchmark::State& state)
{
    const auto& s = Stream();
    if (s.empty()) {
        state.SkipWithError("no stream");
        return;
    }
    const bool portable = state.range(0) != 0;
    int frames = 0;
    for (auto _ : state)
        frames += DecodeAll(s, portable);
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_DecodeCore)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);

struct FpsReporter : benchmark::ConsoleReporter {
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            const double fps = r.counters.count("fps") ? double(r.counters.at("fps")) : 0;
            if (r.benchmark_name().rfind("BM_DecodeCore/0", 0) == 0)
                g_coreFps = fps;
            else if (r.benchmark_name().rfind("BM_DecodeCore/1", 0) == 0)
                g_portableFps = fps;
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!MakeStream()) {
        std::fprintf(stderr, "cannot make %s with ffmpeg\n", StreamPath().c_str());
        return 1;
    }
    FpsReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int frames = DecodeAll(Stream(), false);
    const double seconds =
        bench::TimeCommand("ffmpeg -nostdin -loglevel error -threads 1 -f mpegvideo -i '" + StreamPath() + "' -f null -", 3);
    if (seconds <= 0 || g_coreFps <= 0) {
        std::fprintf(stderr, "ffmpeg run failed\n");
        return 1;
    }
    const double ffmpegFps = frames / seconds;
    std::printf("720x576 MPEG-2, %d frames: core %.0f fps (portable routines %.0f fps), ffmpeg -threads 1 %.0f fps, "
                "ratio %.2f (goal >= 0.5)\n",
                frames, g_coreFps, g_portableFps, ffmpegFps, g_coreFps / ffmpegFps);
    return 0;
}
