// The graph builder's video paths with the hooks the playback objects install: an MPEG-2 video
// pin gets our decoder and our renderer "Harvo Video Renderer", configured with a real Direct3D
// device; a pin our renderer cannot take (RGB24 from the AVI Splitter) leaves no renderer behind
// unconnected but goes on to a converter from the registry.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "media/filters/audiodecoder/win/CHarvoAudioDecoder.h"
#include "media/filters/mpeg2video/win/CMpeg2VideoDecoder.h"
#include "media/filters/mpeg2video/win/TestEsSourceFilter.h"
#include "media/filters/videorenderer/win/CHarvoVR.h"
#include "media/filters/videorenderer/win/TestPresenterHost.h"
#include "media/playback/win/OpenSourceFile.h"
#include "support/TestMedia.h"

using dshow::CComPtr;

namespace {

test::CTestPresenterHost* g_host = nullptr;
videorenderer::CDVBAllocPresenter* g_presenter = nullptr;
std::vector<CComPtr<IBaseFilter>> g_renderers;

HRESULT OwnRenderer(GUID* classId)
{
    *classId = videorenderer::CLSID_HarvoVideoRenderer;
    return S_OK;
}

HRESULT CreateOwnFilter(GUID classId, IBaseFilter** filter)
{
    *filter = nullptr;
    if (classId == videorenderer::CLSID_HarvoVideoRenderer)
        *filter = new videorenderer::CHarvoVR();
    else if (classId == audiofilter::CLSID_HarvoAudioDecoder)
        *filter = new audiofilter::CHarvoAudioDecoder();
    else if (classId == mpeg2videofilter::CLSID_Mpeg2VideoDecoder)
        *filter = new mpeg2videofilter::CMpeg2VideoDecoder();
    else
        return CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(filter));
    (*filter)->AddRef();
    return S_OK;
}

void ConfigureOwnRenderer(IGraphBuilder*, IBaseFilter* renderer)
{
    CComPtr<videorenderer::IHVRConfig> config;
    if (FAILED(renderer->QueryInterface(videorenderer::IID_IHVRConfig, reinterpret_cast<void**>(&config))))
        return;
    config->SetDirect3D(g_host->m_d3d);
    config->SetDevice(g_host->Device());
    config->SetAllocPresenter(g_presenter);
    g_renderers.push_back(CComPtr<IBaseFilter>(renderer));
}

struct Named {
    std::wstring name;
    bool inputConnected;
};

std::vector<Named> Filters(IGraphBuilder* graph)
{
    playback::CFilterList filters;
    playback::ListGraphFilters(graph, filters);
    std::vector<Named> out;
    for (ptrdiff_t i = 0; i < filters.GetSize(); ++i) {
        FILTER_INFO info = {};
        filters[i]->QueryFilterInfo(&info);
        if (info.pGraph)
            info.pGraph->Release();
        playback::CPinList inputs;
        playback::CollectPins(filters[i], PINDIR_INPUT, inputs);
        bool connected = false;
        for (ptrdiff_t p = 0; p < inputs.GetSize(); ++p)
            connected = connected || playback::IsPinConnected(inputs[p]);
        out.push_back({info.achName, connected});
    }
    return out;
}

class VideoBuilderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        BuildPlaybackSettings();
        g_host = new test::CTestPresenterHost();
        ASSERT_TRUE(g_host->Ready());
        g_presenter = new videorenderer::CDVBAllocPresenter(g_host, g_host);
        m_presenterRef = static_cast<videorenderer::IHVRAllocPresenter*>(g_presenter);
        playback::VideoRendererClassIdHook = OwnRenderer;
        playback::CreateFilterHook = CreateOwnFilter;
        playback::ConfigureRendererHook = ConfigureOwnRenderer;
        ASSERT_EQ(S_OK, m_graph.CoCreate(CLSID_FilterGraph));
    }
    void TearDown() override
    {
        for (auto& renderer : g_renderers) {
            CComPtr<videorenderer::IHVRConfig> config;
            if (SUCCEEDED(renderer->QueryInterface(videorenderer::IID_IHVRConfig, reinterpret_cast<void**>(&config)))) {
                config->SetAllocPresenter(nullptr);
                config->SetDevice(nullptr);
                config->SetDirect3D(nullptr);
            }
        }
        g_renderers.clear();
        m_graph.Release();
        g_presenter->ReleaseTexture();
        m_presenterRef.Release();
        delete g_host;
        playback::VideoRendererClassIdHook = nullptr;
        playback::CreateFilterHook = nullptr;
        playback::ConfigureRendererHook = nullptr;
        CoUninitialize();
    }

    CComPtr<IGraphBuilder> m_graph;
    CComPtr<videorenderer::IHVRAllocPresenter> m_presenterRef;
};

TEST_F(VideoBuilderTest, Mpeg2VideoGetsOurDecoderAndOurRenderer)
{
    const std::vector<uint8_t> es = test::ReadFileBytes(test::MediaPath("mpeg2video/options.m2v"));
    ASSERT_FALSE(es.empty());
    auto* sourceFilter = new test::CTestEsSourceFilter(es, 352, 288);
    CComPtr<IBaseFilter> source(static_cast<IBaseFilter*>(sourceFilter));
    ASSERT_EQ(S_OK, m_graph->AddFilter(source, L"Demultiplexer"));
    ASSERT_EQ(S_OK, playback::RenderPin(m_graph, sourceFilter->Pin()));
    std::vector<std::wstring> names;
    for (const Named& f : Filters(m_graph)) {
        names.push_back(f.name);
        EXPECT_TRUE(f.name == L"Demultiplexer" || f.inputConnected) << std::string(f.name.begin(), f.name.end());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Demultiplexer", L"Harvo MPEG-2 Decoder Internal", L"Harvo Video Renderer"}),
              names);
}

TEST_F(VideoBuilderTest, ARendererNoPinTakesIsTakenOutAndTheSearchGoesOn)
{
    CComPtr<IBaseFilter> parser;
    std::string path = test::MediaPath("playback/bgr24_pcm.avi");
    std::replace(path.begin(), path.end(), '/', '\\');
    ASSERT_EQ(S_OK, playback::OpenSourceFile(m_graph, CString(std::wstring(path.begin(), path.end()).c_str()), &parser));
    playback::RenderFilterOutputs(m_graph, parser);
    ASSERT_FALSE(g_renderers.empty()); // our renderer was tried on the RGB24 pin
    for (const Named& f : Filters(m_graph)) {
        if (f.name == L"Harvo Video Renderer") {
            EXPECT_TRUE(f.inputConnected);
        }
    }
    // The direct attempt failed on RGB24, so any video reached our renderer only through a converter.
    playback::CPinList outputs;
    playback::CollectPins(parser, PINDIR_OUTPUT, outputs);
    ASSERT_FALSE(outputs.IsEmpty());
    CComPtr<IPin> downstream;
    if (SUCCEEDED(outputs[0]->ConnectedTo(&downstream)) && downstream) {
        PIN_INFO info = {};
        downstream->QueryPinInfo(&info);
        FILTER_INFO filterInfo = {};
        info.pFilter->QueryFilterInfo(&filterInfo);
        EXPECT_NE(std::wstring(L"Harvo Video Renderer"), std::wstring(filterInfo.achName));
        if (filterInfo.pGraph)
            filterInfo.pGraph->Release();
        info.pFilter->Release();
    }
}

} // namespace
