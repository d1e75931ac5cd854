// Time from a stream change (SetStreams) to the first presented frame of the live graph under Wine
// (reported, never asserted), beside the stream's GOP length: the decoder starts at the next
// I-picture after the restart. live.ts is pushed at stream rate from its own thread, as a device
// engine does, and the sound PID alternates between the MPEG audio and the AC-3 one, so each change
// restarts both outputs. Each zap is split into its steps: the SetStreams call itself (stop,
// re-render, restart), the audio renderer's and the video renderer's completed pause (their first
// sample), the demultiplexer's time base (decided once both outputs have a first PTS), the whole
// graph running, the first presented frame (the paused renderer shows the first picture at once)
// and that frame's sample time (what the clock would add if it waited for the picture's time). Before the zaps, the cost of playing:
// the CPU time per second of the decoder's decoding and its colour conversion (accounted on its
// thread), of the delivery into the renderer on that thread, and of the whole process.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "WineTiming.h"
#include "media/filters/mpeg2video/win/CDecoderCpuAccount.h"
#include "media/playback/PlaybackSettings.h"
#include "media/playback/win/CDVBPlayback.h"
#include "media/playback/win/PacketFeeder.h"
#include "media/playback/win/PlaybackGraph.h"
#include "media/playback/win/TestPlaybackHost.h"
#include "support/TestMedia.h"

namespace {

constexpr double kStreamSeconds = 4.0;
constexpr int kZaps = 10;

// The distance between I-pictures of an MPEG-2 elementary stream in milliseconds, from its picture
// headers and the sequence header's frame rate (ISO/IEC 13818-2, 6.2.2.1 and 6.2.3).
double GopMilliseconds(const std::vector<uint8_t>& es)
{
    static const double kRates[9] = {0, 24000.0 / 1001, 24, 25, 30000.0 / 1001, 30, 50, 60000.0 / 1001, 60};
    double rate = 0;
    int pictures = 0, intra = 0, firstIntra = -1, lastIntra = -1;
    for (size_t i = 0; i + 8 < es.size(); ++i) {
        if (es[i] != 0 || es[i + 1] != 0 || es[i + 2] != 1)
            continue;
        if (es[i + 3] == 0xB3 && rate == 0 && (es[i + 7] & 15) < 9)
            rate = kRates[es[i + 7] & 15];
        if (es[i + 3] == 0x00) {
            if (((es[i + 5] >> 3) & 7) == 1) {
                ++intra;
                lastIntra = pictures;
                if (firstIntra < 0)
                    firstIntra = pictures;
            }
            ++pictures;
        }
    }
    return rate > 0 && intra > 1 ? 1000.0 * (lastIntra - firstIntra) / (intra - 1) / rate : 0;
}

IBaseFilter* FindFilter(IGraphBuilder* graph, const wchar_t* name)
{
    IBaseFilter* filter = nullptr;
    return graph && SUCCEEDED(graph->FindFilterByName(name, &filter)) ? filter : nullptr;
}

bool PauseDone(IBaseFilter* filter)
{
    FILTER_STATE state;
    return filter && filter->GetState(0, &state) == S_OK && state != State_Stopped;
}

struct Zap {
    // Milliseconds after the call began; -1 until seen.
    double call = -1, base = -1, audio = -1, video = -1, running = -1, frame = -1, sampleTime = 0;
};

void PrintStep(const char* what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("  %-58s median %7.1f ms (min %.1f, max %.1f)\n", what, Median(values), values.front(), values.back());
}

int64_t ProcessTime()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](const FILETIME& t) { return int64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
    return ticks(kernel) + ticks(user);
}

// CPU seconds per second of playing, over `milliseconds` of the running live graph.
void PrintPlayingCost(DWORD milliseconds)
{
    using mpeg2videofilter::CDecoderCpuAccount;
    using mpeg2videofilter::DecoderTime;
    CDecoderCpuAccount::Enable(true);
    const mpeg2videofilter::DecoderCpuTimes before = CDecoderCpuAccount::Totals();
    const int64_t process = ProcessTime();
    const LARGE_INTEGER start = Now();
    test::CTestPlaybackHost::PumpUntil([] { return false; }, milliseconds);
    const double seconds = Milliseconds(start, Now()) / 1000.0;
    const mpeg2videofilter::DecoderCpuTimes after = CDecoderCpuAccount::Totals();
    const double processRate = double(ProcessTime() - process) / 1e7 / seconds;
    CDecoderCpuAccount::Enable(false);
    auto print = [&](const char* what, DecoderTime a, DecoderTime b) {
        std::printf("  %-40s %.3f CPU s/s (wall-clock time inside it %.3f s/s)\n", what,
                    double(b.cpu - a.cpu) / 1e7 / seconds, double(b.wall - a.wall) / 1e7 / seconds);
    };
    std::printf("playing the live graph (720x576 at 25 frames/s), %.1f s, %.1f output samples/s:\n", seconds,
                double(after.samples - before.samples) / seconds);
    print("decoding", before.decode, after.decode);
    print("conversion", before.convert, after.convert);
    DecoderTime together = before.decode, togetherAfter = after.decode;
    together += before.convert;
    togetherAfter += after.convert;
    print("decoding and conversion", together, togetherAfter);
    print("delivery into the renderer (presentation)", before.deliver, after.deliver);
    std::printf("  %-40s %.3f CPU s/s\n", "whole process", processRate);
}

} // namespace

int main()
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 1;
    BuildPlaybackSettings();
    test::CTestPlaybackHost host;
    const std::vector<uint8_t> stream = test::ReadFileBytes(test::MediaPath("live.ts"));
    const double gop = GopMilliseconds(test::ReadFileBytes(test::MediaPath("live.m2v")));
    if (!host.Ready() || stream.size() < 188 * 100) {
        std::printf("no Direct3D device or no live.ts\n");
        return 1;
    }
    std::vector<Zap> zaps;
    {
        playback::CDVBPlayback playback(&host);
        if (FAILED(playback.BuildGraph()) || FAILED(playback.SetStreams(256, 257, 0, 256)))
            return 1;
        test::CPacketFeeder feeder(&playback, &stream, kStreamSeconds, true);
        test::CTestPlaybackHost::PumpUntil([&] { return host.m_frameTimes.size() >= 25; }, 20000);
        PrintPlayingCost(DWORD(kStreamSeconds * 1000));
        for (int i = 0; i < kZaps; ++i) {
            // Each change falls a different time after the start of a lap of the stream, so at a
            // different place of the GOP, and its first frame comes before the lap ends (the time
            // stamps start over with the next lap).
            const int lap = feeder.Laps();
            test::CTestPlaybackHost::PumpUntil([&] { return feeder.Laps() != lap; }, 10000);
            test::CTestPlaybackHost::PumpUntil([] { return false; }, DWORD(150 + (i * 173) % 700));
            Zap zap;
            const int64_t oldBase = playback.ReferenceBase();
            const LARGE_INTEGER start = Now();
            playback.SetStreams(256, i % 2 ? 257 : 258, 0, 256);
            zap.call = Milliseconds(start, Now());
            // Frame times the old graph posted before it stopped are not the new stream's.
            test::CTestPlaybackHost::PumpUntil([] { return true; }, 0);
            const size_t before = host.m_frameTimes.size();
            IGraphBuilder* graph = playback.Graph();
            IBaseFilter* sound = FindFilter(graph, L"Default DirectSound Device");
            IBaseFilter* video = FindFilter(graph, L"Harvo Video Renderer");
            IMediaControl* control = nullptr;
            graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
            // Every step's first moment, looked at each millisecond and at each message.
            for (;;) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&msg);
                const double now = Milliseconds(start, Now());
                if (zap.base < 0 && playback.ReferenceBase() != oldBase)
                    zap.base = now;
                if (zap.audio < 0 && PauseDone(sound))
                    zap.audio = now;
                if (zap.video < 0 && PauseDone(video))
                    zap.video = now;
                OAFilterState state;
                if (zap.running < 0 && control && control->GetState(0, &state) == S_OK && state == State_Running)
                    zap.running = now;
                if (zap.frame < 0 && host.m_frameTimes.size() > before) {
                    zap.frame = now;
                    zap.sampleTime = double(host.m_frameTimes[before] - playback.ReferenceBase()) / 90.0;
                }
                // The paused renderer shows the first picture before the graph runs: every step is
                // waited for.
                if (zap.frame >= 0 && zap.running >= 0 && zap.audio >= 0 && zap.video >= 0)
                    break;
                if (now > 20000) {
                    std::printf("zap %d: no frame or no running graph within 20 s\n", i);
                    return 1;
                }
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            }
            if (control)
                control->Release();
            if (sound)
                sound->Release();
            if (video)
                video->Release();
            zaps.push_back(zap);
        }
        feeder.Join();
    }
    auto column = [&](double Zap::*field) {
        std::vector<double> values;
        for (const Zap& zap : zaps)
            values.push_back(zap.*field);
        return values;
    };
    std::printf("zap on the live graph (720x576 MPEG-2 at 8 Mbit/s, GOP %.0f ms), %d stream changes:\n", gop, kZaps);
    PrintStep("SetStreams call (stop, re-render, restart)", column(&Zap::call));
    PrintStep("time base decided (first PTS of both outputs)", column(&Zap::base));
    PrintStep("audio renderer's pause complete (first sound sample)", column(&Zap::audio));
    PrintStep("video renderer's pause complete (first picture)", column(&Zap::video));
    PrintStep("graph running", column(&Zap::running));
    PrintStep("first frame presented (message 2029)", column(&Zap::frame));
    std::vector<double> late;
    for (const Zap& zap : zaps)
        late.push_back(zap.frame - zap.running);
    PrintStep("first frame presented, less the graph's running (< 0: before)", late);
    PrintStep("that frame's sample time after the new time base", column(&Zap::sampleTime));
    std::printf("first frame presented / GOP length: %.2f\n", Median(column(&Zap::frame)) / gop);
    CoUninitialize();
    return 0;
}
