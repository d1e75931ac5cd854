// Media-file playback through Wine's filter graph manager and the built-in settings: a raw YUY2 AVI
// reaches the presenter's texture, audio-only files play without video, the position tick reports
// to the frame, seeking lands where asked (a program stream again and again), pause toggles,
// failures leave nothing open, and an
// object placed above 4 GiB still gets its ticks.
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CUnknown.h"
#include "media/playback/PlaybackSettings.h"
#include "media/playback/win/CFilePlayback.h"
#include "media/playback/win/TestPlaybackHost.h"
#include "support/TestMedia.h"

using playback::CFilePlayback;

namespace {

CString WinPath(const std::string& name)
{
    std::string path = test::MediaPath(name);
    std::replace(path.begin(), path.end(), '/', '\\');
    return CString(std::wstring(path.begin(), path.end()).c_str());
}

class FilePlaybackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        m_host = new test::CTestPlaybackHost();
        ASSERT_TRUE(m_host->Ready());
        m_liveBefore = dshow::CUnknown::LiveObjects();
    }
    void TearDown() override
    {
        EXPECT_EQ(m_liveBefore, dshow::CUnknown::LiveObjects());
        delete m_host;
        CoUninitialize();
    }
    bool WaitForTicks(size_t count)
    {
        return test::CTestPlaybackHost::PumpUntil([&] { return m_host->m_infoTexts.size() >= count; }, 5000);
    }

    test::CTestPlaybackHost* m_host = nullptr;
    LONG m_liveBefore = 0;
};

// Off by default: Wine 8's AVI Splitter can deadlock in Stop or a seek on a file with video and
// audio, whatever renders it (measured with its own VMR-7 as well; docs/wine-notes.md): its video
// streaming thread waits inside the parser for a buffer that never comes while Stop waits for that
// thread. Six processes at a time on a loaded machine: 16 of 40 hung; stopping the renderers and
// then the splitter before the graph, as for sound-only graphs, still left 9 of 40 hung. Run it
// with --gtest_also_run_disabled_tests.
TEST_F(FilePlaybackTest, DISABLED_RawVideoReachesTheTextureAndTheTickAndPauseWork)
{
    CFilePlayback file(m_host);
    bool hasVideo = false;
    ASSERT_EQ(S_OK, file.Open(WinPath("playback/yuy2_pcm.avi"), &hasVideo));
    EXPECT_TRUE(hasVideo);
    EXPECT_EQ(CString(L"yuy2_pcm.avi"), file.FileName());
    EXPECT_NEAR(1.0, file.Duration(), 0.01);
    EXPECT_TRUE(file.IsRunning());
    std::vector<uint8_t> shown;
    ASSERT_TRUE(test::CTestPlaybackHost::PumpUntil(
        [&] {
            shown = m_host->ReadSlot(0, 160, 120);
            return !shown.empty() && std::any_of(shown.begin(), shown.end(), [](uint8_t b) { return b > 32; });
        },
        5000));
    ASSERT_TRUE(WaitForTicks(1));
    EXPECT_EQ(L"yuy2_pcm.avi", m_host->m_infoTexts.back().left);
    EXPECT_EQ(L" / 00:00.01", m_host->m_infoTexts.back().right.substr(8));

    file.TogglePause();
    EXPECT_FALSE(file.IsRunning());
    file.TogglePause();
    EXPECT_TRUE(file.IsRunning());
    file.Stop();
    EXPECT_FALSE(file.IsRunning());
    EXPECT_EQ(S_OK, file.Close());
    EXPECT_EQ(nullptr, file.Graph());
    EXPECT_TRUE(m_host->ReadSlot(0, 160, 120).empty());
    EXPECT_FALSE(file.IsRunning());
    // The tick goes on after Close and does nothing.
    m_host->m_infoTexts.clear();
    test::CTestPlaybackHost::PumpUntil([] { return false; }, 600);
    EXPECT_TRUE(m_host->m_infoTexts.empty());
}

TEST_F(FilePlaybackTest, AudioOnlyFilesPlayWithoutVideoSeekAndFailuresLeaveNothingOpen)
{
    CFilePlayback file(m_host);
    for (const char* name : {"playback/tone.wav", "playback/tone.mp3"}) {
        bool hasVideo = true;
        // A filter chained in front of the video renderer since the last graph is not kept.
        VideoFilterChain.Add(CFilterItem(L"Color Space Converter|{1643E180-90F5-11CE-97D5-00AA0055595A}"));
        // Opening again without a Close closes the previous graph first.
        ASSERT_EQ(S_OK, file.Open(WinPath(name), &hasVideo)) << name;
        EXPECT_EQ(0, VideoFilterChain.GetSize()) << name;
        EXPECT_FALSE(hasVideo) << name;
        EXPECT_NEAR(1.0, file.Duration(), 0.05) << name;
        EXPECT_TRUE(file.IsRunning()) << name;
    }
    // Played to its end, then paused: the position stays where a seek puts it, half, then the end
    // (the fraction clamped), though the graph answers its end once it has reported it.
    ASSERT_TRUE(test::CTestPlaybackHost::PumpUntil(
        [&] { return !m_host->m_infoTexts.empty() && m_host->m_infoTexts.back().value >= 1.0f; }, 10000));
    file.TogglePause();
    EXPECT_FALSE(file.IsRunning());
    file.Seek(0.5);
    m_host->m_infoTexts.clear();
    ASSERT_TRUE(WaitForTicks(1));
    EXPECT_NEAR(0.5f, m_host->m_infoTexts.back().value, 0.02f);
    EXPECT_EQ(L"tone.mp3", m_host->m_infoTexts.back().left);
    file.Seek(7.0);
    m_host->m_infoTexts.clear();
    ASSERT_TRUE(WaitForTicks(1));
    EXPECT_NEAR(1.0f, m_host->m_infoTexts.back().value, 0.02f);
    file.TogglePause();
    EXPECT_TRUE(file.IsRunning());
    bool hasVideo = true;
    EXPECT_TRUE(FAILED(file.Open(WinPath("playback/missing.avi"), &hasVideo)));
    EXPECT_FALSE(hasVideo);
    EXPECT_EQ(nullptr, file.Graph());
    EXPECT_FALSE(file.IsRunning());
    file.TogglePause(); // without a graph: nothing
    file.Seek(0.5);
    file.SetVolume(50);
}

// The graph seeks through every renderer that offers IMediaSeeking: ours passes it to the splitter's
// video pin, which otherwise never hears of a seek (so a file of video alone could not seek at all).
TEST_F(FilePlaybackTest, TheVideoRendererPassesSeekingToTheSplitter)
{
    CFilePlayback file(m_host);
    bool hasVideo = false;
    ASSERT_EQ(S_OK, file.Open(WinPath("playback/yuy2.avi"), &hasVideo));
    ASSERT_TRUE(hasVideo);
    dshow::CComPtr<IBaseFilter> renderer;
    if (FAILED(file.Graph()->FindFilterByName(L"Harvo Video Renderer", &renderer))) {
        ASSERT_EQ(S_OK, file.Graph()->FindFilterByName(L"Video Renderer", &renderer));
    }
    dshow::CComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(S_OK, seeking.QueryFrom(renderer.Get()));
    EXPECT_EQ(S_OK, seeking->IsFormatSupported(&TIME_FORMAT_MEDIA_TIME));
    LONGLONG duration = 0;
    ASSERT_EQ(S_OK, seeking->GetDuration(&duration));
    EXPECT_NEAR(file.Duration(), duration * 1e-7, 0.05);
    EXPECT_NEAR(1.0, duration * 1e-7, 0.05);
    // Through the graph, paused: the position tick reports where the seek went.
    file.TogglePause();
    file.Seek(0.5);
    m_host->m_infoTexts.clear();
    ASSERT_TRUE(WaitForTicks(1));
    EXPECT_NEAR(0.5f, m_host->m_infoTexts.back().value, 0.02f);
    LONGLONG current = 0, stop = 0;
    ASSERT_EQ(S_OK, seeking->GetPositions(&current, &stop));
    EXPECT_NEAR(duration / 2, current, 100000);
    EXPECT_EQ(S_OK, file.Close());
}

// Wine's GStreamer splitter loses the video of a program stream sought while running or paused (one
// picture or none, then its end; Stop then hung): Seek goes through the stopped state. Twelve seeks
// in a row, running and paused, each bring pictures of the new place; the tick never shows a
// position past the duration; the graph stops and closes.
TEST_F(FilePlaybackTest, AProgramStreamSeeksAgainAndAgain)
{
    CFilePlayback file(m_host);
    bool hasVideo = false;
    ASSERT_EQ(S_OK, file.Open(WinPath("playback/seek.mpg"), &hasVideo));
    ASSERT_TRUE(hasVideo);
    ASSERT_GT(file.Duration(), 3.0);
    ASSERT_TRUE(test::CTestPlaybackHost::PumpUntil([&] { return m_host->RenderSignals() >= 3; }, 10000));
    // Places before the last GOP: the splitter lands up to about a GOP after the asked place.
    const double fractions[] = {0.5, 0.1, 0.4, 0.05, 0.3, 0.55, 0.2, 0.45, 0.15, 0.35, 0.25, 0.5};
    for (int i = 0; i < 12; ++i) {
        const bool paused = i % 4 == 3;
        if (paused) {
            file.Pause();
            test::CTestPlaybackHost::PumpUntil([&] { return !file.IsRunning(); }, 3000);
        }
        const std::vector<uint8_t> before = m_host->ReadSlot(0, 160, 120);
        const LONG shown = m_host->RenderSignals();
        file.Seek(fractions[i]);
        // Paused, the picture of the new place is shown as it arrives; running, pictures go on.
        const LONG wanted = paused ? 1 : 3;
        EXPECT_TRUE(test::CTestPlaybackHost::PumpUntil([&] { return m_host->RenderSignals() >= shown + wanted; }, 5000))
            << "seek " << i << " to " << fractions[i] << ": " << m_host->RenderSignals() - shown << " pictures";
        if (paused) {
            EXPECT_NE(before, m_host->ReadSlot(0, 160, 120)) << "seek " << i;
            EXPECT_FALSE(file.IsRunning());
            file.TogglePause();
            EXPECT_TRUE(file.IsRunning());
        }
    }
    // To the end: the clock stops at the duration.
    m_host->m_infoTexts.clear();
    ASSERT_TRUE(WaitForTicks(6));
    for (const test::InfoText& tick : m_host->m_infoTexts)
        EXPECT_LE(tick.value, 1.0f) << std::string(tick.right.begin(), tick.right.end());
    file.Stop();
    EXPECT_FALSE(file.IsRunning());
    EXPECT_EQ(S_OK, file.Close());
}

TEST_F(FilePlaybackTest, AnObjectAbove4GiBGetsItsTicks)
{
    void* high = VirtualAlloc(nullptr, sizeof(CFilePlayback), MEM_COMMIT | MEM_RESERVE | MEM_TOP_DOWN, PAGE_READWRITE);
    ASSERT_NE(nullptr, high);
    EXPECT_GT(reinterpret_cast<uintptr_t>(high), uintptr_t(0xFFFFFFFF));
    auto* file = new (high) CFilePlayback(m_host);
    bool hasVideo = false;
    ASSERT_EQ(S_OK, file->Open(WinPath("playback/tone.wav"), &hasVideo));
    EXPECT_TRUE(WaitForTicks(2));
    EXPECT_EQ(L"tone.wav", m_host->m_infoTexts.back().left);
    file->~CFilePlayback();
    VirtualFree(high, 0, MEM_RELEASE);
}

} // namespace
