// The graph builder in the platform's filter graph with the built-in settings: a demultiplexer-like
// source's MPEG audio pin gets our audio decoder through the filter factory hook and the
// platform's DirectSound renderer behind it; a Line 21 pin stays unconnected; an H.264 pin, which
// nothing here decodes, fails; tearing the audio branch down removes decoder and renderer.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CUnknown.h"
#include "media/filters/audiodecoder/win/CHarvoAudioDecoder.h"
#include "media/filters/audiodecoder/win/TestAudioSourceFilter.h"
#include "media/filters/mpeg2video/win/CMpeg2VideoDecoder.h"
#include "media/playback/GuidText.h"
#include "media/playback/win/GraphBuilder.h"
#include "media/playback/win/GraphFilterNames.h"
#include "support/TestMedia.h"

using dshow::CComPtr;

using test::FilterNames;

namespace {

int g_hookCalls = 0;

HRESULT CreateOwnFilter(GUID classId, IBaseFilter** filter)
{
    ++g_hookCalls;
    *filter = nullptr;
    if (classId == audiofilter::CLSID_HarvoAudioDecoder)
        *filter = new audiofilter::CHarvoAudioDecoder();
    else if (classId == mpeg2videofilter::CLSID_Mpeg2VideoDecoder)
        *filter = new mpeg2videofilter::CMpeg2VideoDecoder();
    else
        return CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(filter));
    (*filter)->AddRef();
    return S_OK;
}

class GraphBuilderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        BuildPlaybackSettings();
        playback::CreateFilterHook = CreateOwnFilter;
        g_hookCalls = 0;
        ASSERT_EQ(S_OK, m_graph.CoCreate(CLSID_FilterGraph));
        m_sourceFilter = new test::CTestAudioSourceFilter();
        m_source = static_cast<IBaseFilter*>(m_sourceFilter);
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_source, L"Source"));
    }
    void TearDown() override
    {
        m_graph.Release();
        m_source.Release();
        playback::CreateFilterHook = nullptr;
        CoUninitialize();
    }

    CComPtr<IGraphBuilder> m_graph;
    test::CTestAudioSourceFilter* m_sourceFilter = nullptr;
    CComPtr<IBaseFilter> m_source;
};

TEST_F(GraphBuilderTest, MpegAudioGetsOurDecoderAndTheDirectSoundRendererAndComesDownAgain)
{
    m_sourceFilter->SetStream(test::ReadFileBytes(test::MediaPath("mp2_stereo_48k_192.mp2")), false, 24000);
    IPin* pin = m_sourceFilter->Pin();
    ASSERT_EQ(S_OK, playback::RenderPin(m_graph, pin));
    EXPECT_EQ(1, g_hookCalls); // the decoder is not registered: only the hook makes it
    EXPECT_EQ((std::vector<std::wstring>{L"Default DirectSound Device", L"Harvo Audio Decoder Internal", L"Source"}),
              FilterNames(m_graph));
    EXPECT_TRUE(playback::IsPinConnected(pin));
    EXPECT_EQ(S_FALSE, playback::RenderPin(m_graph, pin));

    // It plays to its end.
    CComPtr<IMediaControl> control;
    CComPtr<IMediaEvent> events;
    ASSERT_EQ(S_OK, control.QueryFrom(m_graph.Get()));
    ASSERT_EQ(S_OK, m_graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events)));
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    long code = 0;
    EXPECT_EQ(S_OK, events->WaitForCompletion(20000, &code));
    EXPECT_EQ(EC_COMPLETE, code);
    ASSERT_TRUE(SUCCEEDED(control->Stop()));

    EXPECT_EQ(S_OK, playback::RemoveDownstream(m_graph, pin));
    EXPECT_EQ(std::vector<std::wstring>{L"Source"}, FilterNames(m_graph));
    EXPECT_FALSE(playback::IsPinConnected(pin));
    EXPECT_EQ(S_OK, playback::RemoveDownstream(m_graph, pin)); // nothing left behind it
}

TEST_F(GraphBuilderTest, Line21StaysUnconnectedAndH264FindsNothing)
{
    m_sourceFilter->SetStream(std::vector<uint8_t>(10), false, 1000);
    m_sourceFilter->m_major = StringToGuid(L"{670AEA80-3A82-11D0-B79B-00AA003767A7}");
    m_sourceFilter->m_subtype = StringToGuid(L"{6E8D4A22-310C-11D0-B79A-00AA003767A7}");
    EXPECT_EQ(S_OK, playback::RenderPin(m_graph, m_sourceFilter->Pin()));
    EXPECT_FALSE(playback::IsPinConnected(m_sourceFilter->Pin()));
    EXPECT_EQ(std::vector<std::wstring>{L"Source"}, FilterNames(m_graph));

    m_sourceFilter->m_major = MEDIATYPE_Video;
    m_sourceFilter->m_subtype = StringToGuid(L"{34363248-0000-0010-8000-00AA00389B71}");
    EXPECT_EQ(E_FAIL, playback::RenderPin(m_graph, m_sourceFilter->Pin()));
    EXPECT_EQ(std::vector<std::wstring>{L"Source"}, FilterNames(m_graph));
    EXPECT_EQ(E_FAIL, playback::RenderPin(nullptr, m_sourceFilter->Pin()));
    EXPECT_EQ(E_FAIL, playback::RenderFilterOutputs(m_graph, nullptr));
}

} // namespace
