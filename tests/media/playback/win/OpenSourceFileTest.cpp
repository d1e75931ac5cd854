// Opening files made by ffmpeg and rendering the parser's outputs with the built-in settings:
// AVIs through the built-in type's File Source (Async.) and AVI Splitter, WAV and MP3 through the
// platform's source and a parser from the registry, MPEG-1 and MPEG-2 program streams through the
// GStreamer splitter (which needs GStreamer's bad and libav plugins); each graph plays to
// completion.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "media/playback/win/GraphFilterNames.h"
#include "media/playback/win/OpenSourceFile.h"
#include "support/TestMedia.h"

using dshow::CComPtr;

namespace {

CString WindowsPath(const std::string& name)
{
    std::string path = test::MediaPath(name);
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!path.empty() && path[0] == '\\')
        path = "Z:" + path;
    return CString(std::wstring(path.begin(), path.end()).c_str());
}

class OpenSourceFileTest : public ::testing::TestWithParam<std::pair<const char*, const wchar_t*>> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        BuildPlaybackSettings();
    }
    void TearDown() override { CoUninitialize(); }
};

TEST_P(OpenSourceFileTest, OpensRendersAndPlaysToTheEnd)
{
    CComPtr<IGraphBuilder> graph;
    ASSERT_EQ(S_OK, graph.CoCreate(CLSID_FilterGraph));
    CComPtr<IBaseFilter> parser;
    ASSERT_EQ(S_OK, playback::OpenSourceFile(graph, WindowsPath(GetParam().first), &parser));
    ASSERT_TRUE(parser);
    EXPECT_EQ(std::wstring(GetParam().second), test::FilterName(parser));
    EXPECT_EQ(S_OK, playback::RenderFilterOutputs(graph, parser));
    CComPtr<IMediaControl> control;
    CComPtr<IMediaEvent> events;
    ASSERT_EQ(S_OK, control.QueryFrom(graph.Get()));
    ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events)));
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    long code = 0;
    EXPECT_EQ(S_OK, events->WaitForCompletion(20000, &code));
    EXPECT_EQ(EC_COMPLETE, code);
    control->Stop();
}

INSTANTIATE_TEST_SUITE_P(Files, OpenSourceFileTest,
                         ::testing::Values(std::make_pair("playback/yuy2_pcm.avi", L"AVI Splitter"),
                                           std::make_pair("playback/bgra_mp2.avi", L"AVI Splitter"),
                                           std::make_pair("playback/tone.wav", L"Wave Parser"),
                                           std::make_pair("playback/tone.mp3", L"MPEG-I Stream Splitter"),
                                           std::make_pair("playback/mpeg1.mpg", L"GStreamer splitter filter"),
                                           std::make_pair("playback/mpeg2.mpg", L"GStreamer splitter filter")));

TEST(OpenSourceFile, FailuresSayWhatFailed)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    BuildPlaybackSettings();
    {
        CComPtr<IGraphBuilder> graph;
        ASSERT_EQ(S_OK, graph.CoCreate(CLSID_FilterGraph));
        CComPtr<IBaseFilter> parser;
        EXPECT_EQ(E_POINTER, playback::OpenSourceFile(nullptr, L"x.avi", &parser));
        EXPECT_EQ(E_POINTER, playback::OpenSourceFile(graph, L"x.avi", nullptr));
        // A built-in type whose file is missing: the source is taken out again.
        EXPECT_EQ(VFW_E_CANNOT_LOAD_SOURCE_FILTER, playback::OpenSourceFile(graph, L"Z:\\no\\such.avi", &parser));
        CComPtr<IEnumFilters> filters;
        ASSERT_EQ(S_OK, graph->EnumFilters(&filters));
        IBaseFilter* any = nullptr;
        EXPECT_NE(S_OK, filters->Next(1, &any, nullptr));
        if (any)
            any->Release();
        EXPECT_FALSE(parser);
    }
    {
        // A path longer than a filter name holds opens; the source's name is the path cut short.
        std::string name = "playback/";
        for (int i = 0; i < 40; ++i)
            name += "long";
        const CString path = WindowsPath(name + ".avi");
        ASSERT_GT(path.GetLength(), 160);
        CComPtr<IGraphBuilder> graph;
        ASSERT_EQ(S_OK, graph.CoCreate(CLSID_FilterGraph));
        CComPtr<IBaseFilter> parser;
        ASSERT_EQ(S_OK, playback::OpenSourceFile(graph, path, &parser));
        CComPtr<IBaseFilter> source;
        ASSERT_EQ(S_OK, graph->FindFilterByName(path.Left(127), &source));
        EXPECT_EQ(std::wstring(path.Left(127).GetString()), test::FilterName(source));
    }
    CoUninitialize();
}

} // namespace
