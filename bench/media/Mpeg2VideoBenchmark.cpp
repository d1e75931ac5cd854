// Decoding MPEG-2 streams with the core and with ffmpeg on one thread, in one run: a 720 x 576
// interlaced stream (ten seconds, GOPs of 12 with B pictures, 8 Mbit/s, field DCT and field
// motion), a 1920 x 1080 interlaced one (four seconds, 20 Mbit/s), and the same two sizes of a
// noisy picture at 6 and 15 Mbit/s with intra VLC table B.15, the non-linear quantiser and the
// alternate scan. Prints frames per second of both decoders and their ratio; ffmpeg's time is its
// own decode (user CPU time less that of its start-up and first frame), timed in alternating
// rounds with ours on one core.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"
#include "support/CoreDecodeLoop.h"
#include "support/Peer.h"

namespace {

using namespace mpeg2video;

struct Stream {
    const char* label;
    const char* name;
    const char* encode; // ffmpeg arguments that make it
    std::vector<uint8_t> bytes;
    double portableFps = 0; // best of the repetitions
};

Stream g_streams[] = {
    {"720x576i MPEG-2 8 Mbit/s", "bench_mpeg2video_sd.m2v",
     "-f lavfi -i testsrc2=size=720x576:rate=50 -vf tinterlace=interleave_top -frames:v 250 -c:v mpeg2video "
     "-flags +ildct+ilme -top 1 -g 12 -bf 2 -b:v 8M -maxrate 9M -bufsize 1835008",
     {}},
    {"1920x1080i MPEG-2 20 Mbit/s", "bench_mpeg2video_hd.m2v",
     "-f lavfi -i testsrc2=size=1920x1080:rate=50 -vf tinterlace=interleave_top -frames:v 100 -c:v mpeg2video "
     "-flags +ildct+ilme -top 1 -g 12 -bf 2 -b:v 20M -maxrate 25M -bufsize 9781248",
     {}},
    // Noisy pictures at a broadcaster's rates, coded as broadcast encoders do: intra VLC table B.15,
    // the non-linear quantiser and the alternate scan. Most of the time goes into the coefficients.
    {"720x576i MPEG-2 6 Mbit/s noisy, B.15 VLC, non-linear q, alternate scan", "bench_mpeg2video_sd_noisy.m2v",
     "-f lavfi -i testsrc2=size=720x576:rate=50,noise=alls=24:allf=t -vf tinterlace=interleave_top -frames:v 250 "
     "-c:v mpeg2video -flags +ildct+ilme -top 1 -g 12 -bf 2 -b:v 6M -maxrate 6M -bufsize 1835008 "
     "-intra_vlc 1 -non_linear_quant 1 -alternate_scan 1 -qmax 28",
     {}},
    {"1920x1080i MPEG-2 15 Mbit/s noisy, B.15 VLC, non-linear q, alternate scan", "bench_mpeg2video_hd_noisy.m2v",
     "-f lavfi -i testsrc2=size=1920x1080:rate=50,noise=alls=24:allf=t -vf tinterlace=interleave_top -frames:v 100 "
     "-c:v mpeg2video -flags +ildct+ilme -top 1 -g 12 -bf 2 -b:v 15M -maxrate 15M -bufsize 9781248 "
     "-intra_vlc 1 -non_linear_quant 1 -alternate_scan 1 -qmax 28",
     {}},
};

bool LoadStream(Stream& s)
{
    s.bytes = bench::LoadMedia(s.name, std::string(s.encode) + " -f mpeg2video");
    return !s.bytes.empty();
}

// One decoder per stream, made and given its picture buffers before the timing starts (the peer's
// time also leaves out its start-up and first frame); each timed pass starts it over at the first
// byte and decodes the whole stream.
int DecodeAll(Mpeg2VideoDecoderCore* c, const std::vector<uint8_t>& s)
{
    ResetInput(c);
    ClearOutputQueue(c);
    int frames = 0;
    bench::DecodeStream(c, s, [&](PictureBuffer*) { ++frames; });
    return frames;
}

Mpeg2VideoDecoderCore* MakeDecoder(bool portable)
{
    Mpeg2VideoDecoderCore* c = nullptr;
    if (CreateDecoder(&c) != 0)
        return nullptr;
    if (portable)
        SelectRoutines(c, 0);
    return c;
}

void BM_DecodeCore(benchmark::State& state, Stream* stream, bool portable)
{
    Mpeg2VideoDecoderCore* c = MakeDecoder(portable);
    if (!c) {
        state.SkipWithError("no decoder");
        return;
    }
    const int expected = DecodeAll(c, stream->bytes);
    int frames = 0;
    for (auto _ : state) {
        const int n = DecodeAll(c, stream->bytes);
        if (n != expected) {
            state.SkipWithError("a pass decoded another number of frames");
            break;
        }
        frames += n;
    }
    DestroyDecoder(c);
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}

struct FpsReporter : benchmark::ConsoleReporter {
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            for (Stream& s : g_streams) {
                if (r.run_type != Run::RT_Iteration || !r.counters.count("fps"))
                    continue;
                const double fps = double(r.counters.at("fps"));
                if (r.benchmark_name().rfind(std::string(s.name) + "/portable", 0) == 0 && fps > s.portableFps)
                    s.portableFps = fps;
            }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (Stream& s : g_streams) {
        if (!LoadStream(s)) {
            std::fprintf(stderr, "cannot make %s with ffmpeg\n", s.name);
            return 1;
        }
        for (const bool portable : {false, true})
            benchmark::RegisterBenchmark((std::string(s.name) + (portable ? "/portable" : "/selected")).c_str(),
                                         BM_DecodeCore, &s, portable)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(1.0)
                ->Repetitions(3);
    }
    FpsReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    int status = 0;
    for (Stream& s : g_streams) {
        Mpeg2VideoDecoderCore* c = MakeDecoder(false);
        const int frames = c ? DecodeAll(c, s.bytes) : 0;
        const bench::Comparison t = bench::CompareWithPeer(
            [&] { DecodeAll(c, s.bytes); }, "-threads 1 -f mpegvideo -i '" + bench::MediaPath(s.name) + "'",
            "-frames:v 1");
        if (c)
            DestroyDecoder(c);
        if (t.peer <= 0 || t.ours <= 0 || frames <= 1) {
            std::fprintf(stderr, "%s: ffmpeg run failed\n", s.label);
            status = 1;
            continue;
        }
        // The peer's time leaves out its first frame.
        const double ffmpegFps = (frames - 1) / t.peer, coreFps = frames / t.ours;
        std::printf("%s, %d frames: core %.0f fps (portable routines %.0f fps), ffmpeg -threads 1 decode %.3f s = "
                    "%.0f fps, ratio %.2f (goal >= 1.2; %s)\n",
                    s.label, frames, coreFps, s.portableFps, t.peer, ffmpegFps, coreFps / ffmpegFps, t.How().c_str());
    }
    return status;
}
