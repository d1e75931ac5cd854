// The live television graph on a real Direct3D 9 device and Wine's filter graph manager, fed the
// way the transport-stream thread feeds it: services.ts pushed packet by packet at stream rate.
// Frames reach slot 0 of the table and equal the decoded pictures, the frame times posted to the
// frame are the pictures' PTS, a stream change reported on another thread is applied on this one,
// quick zaps between two programmes with packets flowing each end running and presenting, tearing
// the graph down under a pushing thread is safe and leaks nothing, and a device reset lets frames
// resume.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CUnknown.h"
#include "media/filters/mpeg2video/ConvertPicture.h"
#include "media/filters/mpeg2video/PlanarPicture.h"
#include "media/filters/mpeg2video/win/LogoOverlayLoader.h"
#include "media/filters/mpegdemux/DemuxTestSupport.h"
#include "media/mpeg2video/StreamDecoder.h"
#include "media/playback/PlaybackSettings.h"
#include "media/playback/win/CDVBPlayback.h"
#include "media/playback/win/GraphFilterNames.h"
#include "media/playback/win/PacketFeeder.h"
#include "media/playback/win/PlaybackGraph.h"
#include "media/playback/win/TestPlaybackHost.h"
#include "support/TestMedia.h"

using dshow::CComPtr;
using playback::CDVBPlayback;
using CFeeder = test::CPacketFeeder;
using test::FilterName;
using test::FilterNames;

namespace {

constexpr int kWidth = 720, kHeight = 576;
constexpr double kStreamSeconds = 4.0;

bool Has(const std::vector<std::wstring>& names, const wchar_t* name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::wstring> RotNames()
{
    std::vector<std::wstring> names;
    CComPtr<IRunningObjectTable> table;
    CComPtr<IEnumMoniker> monikers;
    CComPtr<IBindCtx> context;
    if (FAILED(GetRunningObjectTable(0, &table)) || FAILED(table->EnumRunning(&monikers)) ||
        FAILED(CreateBindCtx(0, &context)))
        return names;
    IMoniker* moniker = nullptr;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        LPOLESTR name = nullptr;
        if (SUCCEEDED(moniker->GetDisplayName(context, nullptr, &name)) && name) {
            names.push_back(name);
            CoTaskMemFree(name);
        }
        moniker->Release();
    }
    return names;
}

// The picture the renderer shows for a decoded frame: the decoder's YUY2 with the logo, turned to
// RGB as Wine does it (BT.601, studio range kept).
std::vector<uint8_t> ShownPicture(const test::DecodedFrame& frame)
{
    const test::CorePicture p(frame.planes.data(), kWidth, kHeight);
    std::vector<uint8_t> yuy2(size_t(kWidth) * 2 * kHeight);
    mpeg2videofilter::OutputBuffer o{yuy2.data(), yuy2.size(), size_t(kWidth) * 2, kHeight};
    mpeg2videofilter::ConvertPicture(p.buffer, p.buffer, kWidth, kHeight, mpeg2videofilter::OutputFormat::kYUY2, o, 0);
    mpeg2videofilter::BlendLogo(mpeg2videofilter::LoadLogoOverlay(mpeg2videofilter::CurrentModule(), 136),
                                mpeg2videofilter::OutputFormat::kYUY2, o, kWidth, kHeight);
    std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 4);
    for (size_t i = 0; i < size_t(kWidth) * kHeight; ++i) {
        const int Y = yuy2[i * 2], U = yuy2[(i & ~size_t(1)) * 2 + 1] - 128, V = yuy2[(i & ~size_t(1)) * 2 + 3] - 128;
        const double want[3] = {Y + 1.772 * U, Y - 0.344 * U - 0.714 * V, Y + 1.402 * V};
        for (int c = 0; c < 3; ++c)
            rgb[i * 4 + c] = uint8_t(std::lround(std::min(255.0, std::max(0.0, want[c]))));
    }
    return rgb;
}

double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    double total = 0;
    for (size_t i = 0; i < a.size(); i += 4)
        for (int c = 0; c < 3; ++c)
            total += std::abs(int(a[i + c]) - int(b[i + c]));
    return total / double(a.size() / 4 * 3);
}

class LivePlaybackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        // The viewer's file playback object fills them; the live graph's builder reads them.
        BuildPlaybackSettings();
        m_host = new test::CTestPlaybackHost();
        ASSERT_TRUE(m_host->Ready());
        m_stream = test::ReadFileBytes(test::MediaPath("live.ts"));
        ASSERT_GT(m_stream.size(), 188u * 100);
        m_liveBefore = dshow::CUnknown::LiveObjects();
        m_playback = new CDVBPlayback(m_host);
    }
    void TearDown() override
    {
        delete m_playback;
        EXPECT_EQ(m_liveBefore, dshow::CUnknown::LiveObjects());
        delete m_host;
        CoUninitialize();
    }
    bool WaitForFrames(size_t count, DWORD milliseconds = 20000)
    {
        return test::CTestPlaybackHost::PumpUntil([&] { return m_host->m_frameTimes.size() >= count; }, milliseconds);
    }

    test::CTestPlaybackHost* m_host = nullptr;
    CDVBPlayback* m_playback = nullptr;
    std::vector<uint8_t> m_stream;
    LONG m_liveBefore = 0;
};

TEST_F(LivePlaybackTest, FramesReachSlotZeroWithTheirPtsPostedAndTheGraphIsListedWhileBuilt)
{
    WORD video = 1, audio = 1;
    EXPECT_EQ(S_FALSE, m_playback->DeliverPacket(m_stream.data(), 188)); // no graph yet
    EXPECT_EQ(E_FAIL, m_playback->SetStreams(256, 257, 0, 256));
    m_playback->GetStreamPids(&video, &audio); // refused, so never applied
    EXPECT_EQ(0, video);
    EXPECT_EQ(0, audio);
    // A filter chained in front of the video renderer since the last graph is not kept.
    VideoFilterChain.Add(CFilterItem(L"Color Space Converter|{1643E180-90F5-11CE-97D5-00AA0055595A}"));
    ASSERT_EQ(S_OK, m_playback->BuildGraph());
    EXPECT_EQ(0, VideoFilterChain.GetSize());
    IGraphBuilder* graph = m_playback->Graph();
    EXPECT_EQ(S_FALSE, m_playback->BuildGraph());
    EXPECT_EQ(graph, m_playback->Graph());
    wchar_t rotName[64];
    swprintf(rotName, 64, L"!FilterGraph %08x pid %08x", unsigned(uintptr_t(graph)), unsigned(GetCurrentProcessId()));
    const auto rot = RotNames();
    EXPECT_NE(rot.end(), std::find(rot.begin(), rot.end(), std::wstring(rotName)));

    // Volume in hundredths of a decibel, the percent clamped to 0..100.
    long level = 0;
    ASSERT_TRUE(m_playback->BasicAudio());
    m_playback->SetVolume(75);
    ASSERT_EQ(S_OK, m_playback->BasicAudio()->get_Volume(&level));
    EXPECT_EQ(-100, level);
    m_playback->SetVolume(250);
    m_playback->BasicAudio()->get_Volume(&level);
    EXPECT_EQ(-1, level);
    m_playback->SetVolume(-3);
    m_playback->BasicAudio()->get_Volume(&level);
    EXPECT_EQ(-10000, level);
    m_playback->SetVolume(100);

    ASSERT_EQ(S_OK, m_playback->SetStreams(256, 257, 0, 256));
    m_playback->GetStreamPids(&video, &audio);
    EXPECT_EQ(256, video);
    EXPECT_EQ(257, audio);
    EXPECT_EQ(E_INVALIDARG, m_playback->DeliverPacket(m_stream.data(), 187));

    CFeeder feeder(m_playback, &m_stream, kStreamSeconds, false);
    ASSERT_TRUE(WaitForFrames(20)) << m_host->m_frameTimes.size();
    const auto shown = m_host->ReadSlot(0, kWidth, kHeight);
    ASSERT_EQ(size_t(kWidth) * kHeight * 4, shown.size());
    ASSERT_TRUE(test::CTestPlaybackHost::PumpUntil([&] { return feeder.Finished(); }, 20000));
    feeder.Join();
    test::CTestPlaybackHost::PumpUntil([] { return false; }, 200); // the messages already posted

    // Every posted time is a picture's PTS; the picture in the slot is one of those posted.
    std::vector<int64_t> pts;
    for (const auto& p : test::ReadProbedPackets(test::MediaPath("live.packets")))
        if (p.pid == 256)
            pts.push_back(p.pts);
    std::sort(pts.begin(), pts.end());
    for (int64_t t : m_host->m_frameTimes) {
        auto at = std::lower_bound(pts.begin(), pts.end(), t - 1);
        ASSERT_TRUE(at != pts.end() && *at <= t + 1) << t;
    }
    const auto decoded = test::DecodeWholeStream(test::ReadFileBytes(test::MediaPath("live.m2v")));
    ASSERT_EQ(pts.size(), decoded.frames.size());
    size_t best = 0;
    double bestDifference = 1e9;
    for (size_t i = 0; i < decoded.frames.size(); ++i) {
        const auto& times = m_host->m_frameTimes;
        if (std::none_of(times.begin(), times.end(), [&](int64_t t) { return std::llabs(t - pts[i]) <= 1; }))
            continue;
        const double d = MeanDifference(ShownPicture(decoded.frames[i]), shown);
        if (d < bestDifference) {
            bestDifference = d;
            best = i;
        }
    }
    std::printf("slot 0 holds picture %zu of %zu, mean difference %.3f; %zu frame times posted\n", best,
                decoded.frames.size(), bestDifference, m_host->m_frameTimes.size());
    // The slot holds one of the pictures whose time was posted.
    EXPECT_LT(bestDifference, 2.0);
    const auto formats = m_host->Formats();
    ASSERT_FALSE(formats.empty());
    EXPECT_EQ(kWidth, formats.back().width);

    m_playback->DestroyGraph();
    EXPECT_EQ(nullptr, m_playback->Graph());
    EXPECT_EQ(S_FALSE, m_playback->DeliverPacket(m_stream.data(), 188));
    EXPECT_EQ(S_FALSE, m_playback->ResetDemux());
    const auto after = RotNames();
    EXPECT_EQ(after.end(), std::find(after.begin(), after.end(), std::wstring(rotName)));
    EXPECT_TRUE(m_host->ReadSlot(0, kWidth, kHeight).empty());
}

TEST_F(LivePlaybackTest, AStreamChangeFromAnotherThreadIsAppliedOnTheOwningThread)
{
    ASSERT_EQ(S_OK, m_playback->BuildGraph());
    ASSERT_TRUE(Has(FilterNames(m_playback->Graph()), L"Harvo Video Renderer"));
    // The radio programme: no video PID. The graph changes, and the PIDs are reported, only when
    // this thread's messages run.
    HRESULT reported = E_UNEXPECTED;
    std::thread([&] { reported = m_playback->SetStreams(0, 257, 0, 257); }).join();
    EXPECT_EQ(S_OK, reported);
    WORD video = 1, audio = 1;
    m_playback->GetStreamPids(&video, &audio);
    EXPECT_EQ(0, audio);
    EXPECT_TRUE(Has(FilterNames(m_playback->Graph()), L"Harvo Video Renderer"));
    ASSERT_TRUE(test::CTestPlaybackHost::PumpUntil(
        [&] { return !Has(FilterNames(m_playback->Graph()), L"Harvo Video Renderer"); }, 5000));
    m_playback->GetStreamPids(&video, &audio);
    EXPECT_EQ(0, video);
    EXPECT_EQ(257, audio);
    const auto names = FilterNames(m_playback->Graph());
    EXPECT_FALSE(Has(names, L"Harvo MPEG-2 Decoder Internal"));
    EXPECT_TRUE(Has(names, L"Harvo MPEG2 Demux"));

    // Back to the television programme, fed; then a device reset in the middle of it.
    ASSERT_EQ(S_OK, m_playback->SetStreams(256, 258, 0, 256)); // AC-3 sound
    EXPECT_TRUE(Has(FilterNames(m_playback->Graph()), L"Harvo Video Renderer"));
    CFeeder feeder(m_playback, &m_stream, kStreamSeconds, true);
    ASSERT_TRUE(WaitForFrames(10));
    m_playback->ReleaseDevice();
    EXPECT_TRUE(m_host->ReadSlot(0, kWidth, kHeight).empty());
    ASSERT_EQ(S_OK, m_host->ResetDevice());
    m_playback->RestoreDevice();
    const size_t before = m_host->m_frameTimes.size();
    ASSERT_TRUE(WaitForFrames(before + 10));
    ASSERT_TRUE(test::CTestPlaybackHost::PumpUntil([&] { return !m_host->ReadSlot(0, kWidth, kHeight).empty(); },
                                                   5000));
    feeder.Join();
}

// Each filter's state as "name=state[!]" ("!" while its change is still under way).
std::string FilterStates(IGraphBuilder* graph)
{
    std::string text;
    playback::CFilterList filters;
    playback::ListGraphFilters(graph, filters);
    for (ptrdiff_t i = 0; i < filters.GetSize(); ++i) {
        FILTER_STATE state = State_Stopped;
        const HRESULT hr = filters[i]->GetState(0, &state);
        char name[160];
        std::snprintf(name, sizeof(name), "%ls=%d%s ", FilterName(filters[i]).c_str(), int(state), hr == S_OK ? "" : "!");
        text += name;
    }
    return text;
}

TEST_F(LivePlaybackTest, QuickZapsWithPacketsFlowingEachReachRunningAndPresent)
{
    // Two programmes of one low-rate multiplex, pushed as fast as the graph takes them: PES
    // headers of both follow each other within a few packets, so the demultiplexer decides a time
    // base almost at once after every restart, while the graph is still starting.
    const auto stream = test::ReadFileBytes(test::MediaPath("two_programs.ts"));
    ASSERT_GT(stream.size(), 188u * 100);
    ASSERT_EQ(S_OK, m_playback->BuildGraph());
    ASSERT_EQ(S_OK, m_playback->SetStreams(256, 257, 0, 256));
    CFeeder feeder(m_playback, &stream, 0, true);
    CComPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, m_playback->Graph()->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)));
    for (int round = 0; round < 12; ++round) {
        const WORD video = round % 2 ? 256 : 258;
        ASSERT_EQ(S_OK, m_playback->SetStreams(video, WORD(video + 1), 0, video));
        const size_t before = m_host->m_frameTimes.size();
        // Every filter running: the audio renderer completes its pause only once a sample reached it.
        OAFilterState state = State_Stopped;
        ASSERT_TRUE(test::CTestPlaybackHost::PumpUntil(
            [&] { return control->GetState(0, &state) == S_OK && state == State_Running; }, 5000))
            << "round " << round << ": " << FilterStates(m_playback->Graph());
        ASSERT_TRUE(WaitForFrames(before + 1, 5000)) << "round " << round;
    }
    feeder.Join();
}

TEST_F(LivePlaybackTest, TearingDownUnderAPushingThreadIsSafeAndLeavesNoObjects)
{
    for (int round = 0; round < 100; ++round) {
        ASSERT_EQ(S_OK, m_playback->BuildGraph()) << round;
        ASSERT_EQ(S_OK, m_playback->SetStreams(256, 257, 0, 256));
        CFeeder feeder(m_playback, &m_stream, 0, true);
        // Let some packets in (up to a full queue), then pull the graph out from under the thread.
        while (feeder.Delivered() < size_t(round % 10) * 200 && !feeder.Finished())
            SwitchToThread();
        EXPECT_EQ(S_OK, m_playback->DestroyGraph());
        EXPECT_EQ(nullptr, m_playback->Graph());
        feeder.Join();
    }
    EXPECT_EQ(m_liveBefore, dshow::CUnknown::LiveObjects());
}

} // namespace
