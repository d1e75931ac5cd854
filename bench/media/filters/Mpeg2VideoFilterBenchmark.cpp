// The decoder filter's output work: each conversion routine on one 720 x 576 frame, and decoding
// plus YUY2 conversion of a 720 x 576 stream beside ffmpeg doing the same (one thread, output to
// yuyv422, timed by its own -benchmark user time); prints frames per second and the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "media/filters/mpeg2video/ConvertPicture.h"
#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"
#include "support/CoreDecodeLoop.h"
#include "support/Peer.h"

namespace {

using namespace mpeg2video;
using namespace mpeg2videofilter;

constexpr uint32_t kWidth = 720, kHeight = 576;

std::string StreamPath() { return bench::MediaPath("bench_mpeg2video_convert.m2v"); }

bool MakeStream()
{
    const std::string path = StreamPath();
    if (bench::RunCommand("test -s '" + path + "'"))
        return true;
    return bench::RunCommand("mkdir -p \"$(dirname '" + path + "')\" && ffmpeg -nostdin -loglevel error -y -f lavfi -i "
                             "testsrc2=size=720x576:rate=25 -frames:v 250 -c:v mpeg2video -g 12 -bf 2 -b:v 6M "
                             "-maxrate 9M -bufsize 1835008 -f mpeg2video '" + path + ".tmp' && mv '" + path + ".tmp' '" +
                             path + "'");
}

std::vector<uint8_t> ReadStream()
{
    std::vector<uint8_t> b;
    if (FILE* f = std::fopen(StreamPath().c_str(), "rb")) {
        uint8_t buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            b.insert(b.end(), buf, buf + n);
        std::fclose(f);
    }
    return b;
}

// A picture in the core's layout with a smooth pattern.
struct Frame {
    std::vector<uint8_t> storage;
    PictureBuffer buffer;
    Frame()
    {
        storage.resize(size_t(kWidth) * kHeight * 3 / 2);
        for (size_t i = 0; i < storage.size(); ++i)
            storage[i] = uint8_t(i * 7 + (i >> 9));
        buffer.storage = buffer.luma = storage.data();
        buffer.cb = storage.data() + size_t(kWidth) * kHeight;
        buffer.cr = buffer.cb + kWidth / 2;
        buffer.end = storage.data() + storage.size();
        buffer.pitch = kWidth;
        buffer.lumaRows = kHeight;
        buffer.chromaRows = kHeight / 2;
    }
};

void BM_Convert(benchmark::State& state)
{
    const OutputFormat format = state.range(0) ? OutputFormat::kRGB32 : OutputFormat::kYUY2;
    const uint32_t caps = uint32_t(state.range(1));
    static const Frame a, b;
    std::vector<uint8_t> out(RowBytes(format, kWidth) * kHeight);
    OutputBuffer o{out.data(), out.size(), RowBytes(format, kWidth), kHeight};
    for (auto _ : state) {
        ConvertPicture(a.buffer, b.buffer, kWidth, kHeight, format, o, caps);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Convert)
    ->ArgNames({"rgb32", "caps"})
    ->Args({0, 0})
    ->Args({0, kCpuMmx})
    ->Args({0, kCpuMmx | kCpuSse2})
    ->Args({1, 0})
    ->Args({1, kCpuMmx})
    ->Unit(benchmark::kMicrosecond);

int DecodeAndConvert(const std::vector<uint8_t>& s, std::vector<uint8_t>& out)
{
    Mpeg2VideoDecoderCore* c = nullptr;
    if (CreateDecoder(&c) != 0)
        return 0;
    int frames = 0;
    const size_t stride = RowBytes(OutputFormat::kYUY2, kWidth);
    OutputBuffer o{out.data(), out.size(), stride, kHeight};
    auto convert = [&](PictureBuffer* p) {
        if (p && ConvertPicture(*p, *p, c->horizontal_size, c->vertical_size, OutputFormat::kYUY2, o,
                                c->processor.capabilities) == 0)
            ++frames;
    };
    bench::DecodeStream(c, s, convert);
    DestroyDecoder(c);
    return frames;
}

double g_decodeConvertFps = 0;

void BM_DecodeConvertYuy2(benchmark::State& state)
{
    static const std::vector<uint8_t> stream = ReadStream();
    if (stream.empty()) {
        state.SkipWithError("no stream");
        return;
    }
    std::vector<uint8_t> out(RowBytes(OutputFormat::kYUY2, kWidth) * kHeight);
    int frames = 0;
    for (auto _ : state)
        frames += DecodeAndConvert(stream, out);
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeConvertYuy2)->Unit(benchmark::kMillisecond)->MinTime(3.0);

struct FpsReporter : benchmark::ConsoleReporter {
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (r.benchmark_name().rfind("BM_DecodeConvertYuy2", 0) == 0 && r.counters.count("fps"))
                g_decodeConvertFps = double(r.counters.at("fps"));
    }
};

// ffmpeg's own user time for decoding and converting (its start-up excluded), best of three.
double FfmpegUserSeconds(const std::string& path)
{
    double best = -1;
    for (int i = 0; i < 3; ++i) {
        const std::string command = "ffmpeg -nostdin -benchmark -threads 1 -f mpegvideo -i '" + path +
                                    "' -pix_fmt yuyv422 -f null - 2>&1";
        FILE* p = popen(command.c_str(), "r");
        if (!p)
            return -1;
        char line[512];
        double seconds = -1;
        while (std::fgets(line, sizeof line, p))
            if (const char* u = std::strstr(line, "utime="))
                seconds = std::atof(u + 6);
        pclose(p);
        if (seconds > 0 && (best < 0 || seconds < best))
            best = seconds;
    }
    return best;
}

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
    std::vector<uint8_t> out(RowBytes(OutputFormat::kYUY2, kWidth) * kHeight);
    const int frames = DecodeAndConvert(ReadStream(), out);
    const double seconds = FfmpegUserSeconds(StreamPath());
    if (seconds <= 0 || g_decodeConvertFps <= 0) {
        std::fprintf(stderr, "ffmpeg run failed\n");
        return 1;
    }
    const double ffmpegFps = frames / seconds;
    std::printf("720x576 MPEG-2 decode + YUY2, %d frames: ours %.0f fps, ffmpeg -threads 1 (user time) %.0f fps, "
                "ratio %.2f\n",
                frames, g_decodeConvertFps, ffmpegFps, g_decodeConvertFps / ffmpegFps);
    return 0;
}
