// The audio decoder filter alone in front of Wine's DirectSound renderer, which plays into the
// PulseAudio null sink: a 440 Hz tone (MPEG audio, 48 kHz) captured from the sink's monitor by
// parec must still be 440 Hz. A sample-rate mix-up between the filter and the renderer (44.1 kHz
// taken for 48 kHz or back) would give 404 or 479 Hz.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CTransformInputPin.h"
#include "dshow/CTransformOutputPin.h"
#include "dshow/CUnknown.h"
#include "media/filters/audiodecoder/win/CHarvoAudioDecoder.h"
#include "media/filters/audiodecoder/win/TestAudioSourceFilter.h"
#include "support/HostProgram.h"
#include "support/TestMedia.h"

using dshow::CComPtr;

namespace {

const GUID kDirectSoundRenderer = {0x79376820, 0x07D0, 0x11CF, {0xA2, 0x4D, 0x00, 0x20, 0xAF, 0xD7, 0x97, 0x67}};

long FileSize(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return -1;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    return size;
}

bool WaitFor(DWORD milliseconds, const std::function<bool()>& done)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(20);
    }
    return true;
}

// Median period, in samples, between rising zero crossings of the left channel where it sounds
// (crossings interpolated between samples); 0 when there are too few.
double MedianPeriod(const std::vector<uint8_t>& raw, size_t* crossings)
{
    std::vector<double> at;
    const size_t frames = raw.size() / 4;
    auto left = [&](size_t i) { return int16_t(raw[i * 4] | raw[i * 4 + 1] << 8); };
    for (size_t i = 1; i < frames; ++i) {
        const int a = left(i - 1), b = left(i);
        if (a < 0 && b >= 0 && b - a > 20)
            at.push_back(double(i - 1) + double(-a) / double(b - a));
    }
    *crossings = at.size();
    std::vector<double> periods;
    for (size_t i = 1; i < at.size(); ++i)
        periods.push_back(at[i] - at[i - 1]);
    if (periods.size() < 10)
        return 0;
    std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
    return periods[periods.size() / 2];
}

TEST(AudioDecoderSound, A440HzToneLeavesTheNullSinkAt440Hz)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    const LONG baseline = dshow::CUnknown::LiveObjects();
    const std::vector<uint8_t> tone = test::ReadFileBytes(test::MediaPath("playback/tone_440.mp2"));
    ASSERT_FALSE(tone.empty());
    const std::string capture = "/tmp/tolvik-capture-" + std::to_string(GetCurrentProcessId()) + ".raw";
    const std::string captureWindows = "Z:" + capture;
    std::remove(captureWindows.c_str());
    std::remove((captureWindows + ".tmp").c_str());
    {
        CComPtr<IGraphBuilder> graph;
        ASSERT_EQ(S_OK, graph.CoCreate(CLSID_FilterGraph));
        CComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, control.QueryFrom(graph.Get()));
        CComPtr<IMediaEvent> events;
        ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events)));
        auto* sourceFilter = new test::CTestAudioSourceFilter();
        CComPtr<IBaseFilter> source(static_cast<IBaseFilter*>(sourceFilter));
        HRESULT hr = E_FAIL;
        auto* decoderFilter = new audiofilter::CHarvoAudioDecoder(nullptr, &hr);
        CComPtr<IBaseFilter> decoder(static_cast<IBaseFilter*>(decoderFilter));
        ASSERT_EQ(S_OK, hr);
        CComPtr<IBaseFilter> sound;
        ASSERT_EQ(S_OK, sound.CoCreate(kDirectSoundRenderer));
        ASSERT_EQ(S_OK, graph->AddFilter(source, L"Source"));
        ASSERT_EQ(S_OK, graph->AddFilter(decoder, L"Harvo Audio Decoder"));
        ASSERT_EQ(S_OK, graph->AddFilter(sound, L"Default DirectSound Device"));
        sourceFilter->SetStream(tone, false, 192000 / 8);
        ASSERT_EQ(S_OK, graph->ConnectDirect(sourceFilter->Pin(), decoderFilter->InputPin(), nullptr));
        CComPtr<IEnumPins> pins;
        ASSERT_EQ(S_OK, sound->EnumPins(&pins));
        CComPtr<IPin> soundInput;
        ASSERT_EQ(S_OK, pins->Next(1, &soundInput, nullptr));
        // Connected at the decoder's initial 44.1 kHz; the stream's 48 kHz rides on the first sample.
        ASSERT_EQ(S_OK, graph->ConnectDirect(decoderFilter->OutputPin(), soundInput, nullptr));

        // The monitor streams silence while nothing plays: the capture is running once it grows.
        ASSERT_TRUE(test::StartHostProgram("/bin/sh -c \"timeout 4 parec -d null.monitor --rate=48000 --channels=2 "
                                           "--format=s16le --raw > " + capture + ".tmp; mv " + capture + ".tmp " +
                                           capture + "\""));
        ASSERT_TRUE(WaitFor(10000, [&] { return FileSize(captureWindows + ".tmp") > 9600; }));
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        long code = 0;
        EXPECT_EQ(S_OK, events->WaitForCompletion(10000, &code));
        EXPECT_EQ(EC_COMPLETE, code);
        control->Stop();
        EXPECT_EQ(48000u, decoderFilter->ConnectedSampleRate());
    }
    ASSERT_TRUE(WaitFor(15000, [&] { return FileSize(captureWindows) >= 0; }));
    const std::vector<uint8_t> raw = test::ReadFileBytes(captureWindows);
    std::remove(captureWindows.c_str());
    size_t crossings = 0;
    const double period = MedianPeriod(raw, &crossings);
    int loudest = 0;
    for (size_t i = 0; i + 1 < raw.size(); i += 2)
        loudest = std::max(loudest, std::abs(int(int16_t(raw[i] | raw[i + 1] << 8))));
    ASSERT_GT(period, 0.0) << raw.size() << " bytes captured, loudest sample " << loudest;
    const double hertz = 48000.0 / period;
    std::printf("captured %zu bytes, %zu rising zero crossings, median period %.2f samples: %.1f Hz\n", raw.size(),
                crossings, period, hertz);
    EXPECT_GT(crossings, 200u); // a good part of the one-second tone was heard (a loaded machine loses its start)
    EXPECT_NEAR(440.0, hertz, 4.0);
    EXPECT_EQ(baseline, dshow::CUnknown::LiveObjects());
    CoUninitialize();
}

} // namespace
