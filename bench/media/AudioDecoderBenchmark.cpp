// Decoding the same AC-3 5.1 and MP2 stereo files with our frame decoders (through the filter's
// byte buffer, mixed to 16-bit PCM as the filter delivers it) and with ffmpeg, in one run; prints
// both real-time factors and their ratio, ffmpeg's being its own decode time without its start-up,
// both timed in alternating rounds on one core.
// The files (two minutes each) are made on first use.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "media/audio/AC3FrameDecoder.h"
#include "media/audio/InputByteBuffer.h"
#include "media/audio/MpegAudioFrameDecoder.h"
#include "support/Peer.h"

namespace {

constexpr double kSeconds = 120.0;

struct Media {
    std::string path;
    std::vector<uint8_t> bytes;
};

Media Load(const std::string& name, const std::string& encode)
{
    return Media{bench::MediaPath(name), bench::LoadMedia(name, encode)};
}

const Media& Ac3()
{
    static const Media m = Load("bench_surround.ac3",
                                "-f lavfi -i \"aevalsrc=0.2*sin(2*PI*(200+150*ch)*t)+0.1*sin(2*PI*(4000+300*ch)*t):"
                                "s=48000:c=5.1:d=120\" -f lavfi -i \"anoisesrc=a=0.05:d=120:r=48000\" "
                                "-filter_complex \"[1]pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|c4=c0|c5=c0[n];[0][n]amix=inputs=2:normalize=0\" "
                                "-c:a ac3 -b:a 448k -f ac3");
    return m;
}

const Media& Mp2()
{
    static const Media m = Load("bench_stereo.mp2",
                                "-f lavfi -i \"aevalsrc=0.2*sin(2*PI*(200+150*ch)*t)+0.1*sin(2*PI*(4000+300*ch)*t):"
                                "s=48000:c=stereo:d=120\" -f lavfi -i \"anoisesrc=a=0.05:d=120:r=48000\" "
                                "-filter_complex \"[1]pan=stereo|c0=c0|c1=c0[n];[0][n]amix=inputs=2:normalize=0\" "
                                "-c:a mp2 -b:a 192k -f mp2");
    return m;
}

// One decoder and one byte buffer per benchmark, made before the timing starts (the peer's time
// also leaves out its start-up and first frame); each timed pass decodes the whole file.
template <class Decoder>
void DecodeAll(Decoder& decoder, audio::InputByteBuffer& buffer, const std::vector<uint8_t>& bytes, int64_t& samples)
{
    std::vector<int16_t> pcm(2 * 2048);
    size_t position = 0;
    while (position < bytes.size()) {
        const size_t n = std::min<size_t>(8192, bytes.size() - position);
        buffer.Append(&bytes[position], static_cast<int32_t>(n));
        position += n;
        int32_t consumed;
        while ((consumed = decoder.DecodeFrame(buffer)) > 0) {
            buffer.Consume(consumed);
            samples += decoder.OutputFrame(pcm.data());
        }
    }
    buffer.Consume(buffer.Unread());
}

template <class Decoder>
void BM_Ours(benchmark::State& state, const Media& m)
{
    if (m.bytes.empty()) {
        state.SkipWithError("no file");
        return;
    }
    Decoder decoder;
    audio::InputByteBuffer buffer;
    buffer.Allocate(0x20000);
    int64_t samples = 0;
    for (auto _ : state)
        DecodeAll(decoder, buffer, m.bytes, samples);
    benchmark::DoNotOptimize(samples);
    state.counters["audio_seconds"] = benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_OursAc3(benchmark::State& state) { BM_Ours<audio::AC3FrameDecoder>(state, Ac3()); }
void BM_OursMp2(benchmark::State& state) { BM_Ours<audio::MpegAudioFrameDecoder>(state, Mp2()); }

BENCHMARK(BM_OursAc3)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_OursMp2)->Unit(benchmark::kMillisecond)->Repetitions(3);

// One decoder and byte buffer made before the rounds; each round decodes the whole file once.
template <class Decoder>
void Compare(const char* what, const Media& m, const std::string& arguments, double goal)
{
    Decoder decoder;
    audio::InputByteBuffer buffer;
    buffer.Allocate(0x20000);
    int64_t samples = 0;
    // One thread for ffmpeg too, and only its decode: its start-up and first frame are taken off.
    const bench::Comparison c = bench::CompareWithPeer([&] { DecodeAll(decoder, buffer, m.bytes, samples); },
                                                       arguments, "-frames:a 1");
    if (c.peer <= 0 || c.ours <= 0 || m.bytes.empty()) {
        std::printf("%s: ffmpeg run failed\n", what);
        return;
    }
    std::printf("%s: ours %.3f s = %.0fx real time, ffmpeg decode %.3f s = %.0fx real time, ratio %.2f (goal >= %.1f; "
                "%s)\n",
                what, c.ours, kSeconds / c.ours, c.peer, kSeconds / c.peer, c.peer / c.ours, goal, c.How().c_str());
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Compare<audio::AC3FrameDecoder>("AC-3 5.1 448 kbit/s", Ac3(), "-threads 1 -drc_scale 0 -i '" + Ac3().path + "'", 1.0);
    Compare<audio::MpegAudioFrameDecoder>("MP2 stereo 192 kbit/s", Mp2(), "-threads 1 -c:a mp2float -i '" + Mp2().path + "'", 1.2);
    return 0;
}
