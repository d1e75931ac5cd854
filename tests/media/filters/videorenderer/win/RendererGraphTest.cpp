// The whole video path on a real Direct3D 9 device: an ffmpeg elementary stream through the decoder
// filter into the own renderer and the live presenter. Every frame reaches the presenter with its
// time, EC_COMPLETE follows the last, the texture read back holds the last frame exactly (RGB32) or
// as Wine's own YUY2 conversion makes it, a size change mid-stream reconnects, and a device reset
// (objects released, Reset, restored) lets frames resume. A paused graph shows its first picture
// at once, and running on presents it no second time.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CMediaType.h"
#include "dshow/CRendererInputPin.h"
#include "dshow/CTransformInputPin.h"
#include "dshow/CTransformOutputPin.h"
#include "dshow/MediaTypes.h"
#include "media/filters/mpeg2video/PlanarPicture.h"
#include "media/filters/mpeg2video/win/CMpeg2VideoDecoder.h"
#include "media/filters/mpeg2video/win/LogoOverlayLoader.h"
#include "media/filters/mpeg2video/win/TestEsSourceFilter.h"
#include "media/filters/videorenderer/win/CDVBAllocPresenter.h"
#include "media/filters/videorenderer/win/CHarvoVR.h"
#include "media/filters/videorenderer/win/TestPresenterHost.h"
#include "media/mpeg2video/StreamDecoder.h"
#include "support/TestMedia.h"

using dshow::CComPtr;
using namespace videorenderer;

namespace {

class RendererGraphTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        m_host = new test::CTestPresenterHost();
        ASSERT_TRUE(m_host->Ready());
        ASSERT_EQ(S_OK, m_graph.CoCreate(CLSID_FilterGraph));
        ASSERT_EQ(S_OK, m_control.QueryFrom(m_graph.Get()));
        ASSERT_EQ(S_OK, m_graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&m_events)));
        m_presenter = new CDVBAllocPresenter(m_host, m_host);
        m_presenterRef = static_cast<IHVRAllocPresenter*>(m_presenter);
        m_rendererFilter = new CHarvoVR();
        m_renderer = static_cast<IBaseFilter*>(m_rendererFilter);
        ASSERT_EQ(S_OK, m_renderer->QueryInterface(IID_IHVRConfig, reinterpret_cast<void**>(&m_config)));
        m_config->SetDirect3D(m_host->m_d3d);
        m_config->SetDevice(m_host->Device());
        m_config->SetAllocPresenter(m_presenter);
        m_config->SetStreamingEvent(TRUE);
        m_decoderFilter = new mpeg2videofilter::CMpeg2VideoDecoder();
        m_decoder = static_cast<IBaseFilter*>(m_decoderFilter);
        m_decoderFilter->SetDoubleRateAllowed(false);
    }
    void TearDown() override
    {
        if (m_control)
            m_control->Stop();
        if (m_config) {
            m_config->SetStreamingEvent(FALSE);
            m_config->SetAllocPresenter(nullptr);
            m_config->SetDevice(nullptr);
            m_config->SetDirect3D(nullptr);
        }
        if (m_presenter)
            m_presenter->ReleaseTexture();
        m_config.Release();
        m_events.Release();
        m_control.Release();
        m_graph.Release();
        m_source.Release();
        m_decoder.Release();
        m_renderer.Release();
        m_presenterRef.Release();
        delete m_host;
        CoUninitialize();
    }
    void Build(std::vector<uint8_t> es, uint32_t width, uint32_t height, bool rgb32)
    {
        m_sourceFilter = new test::CTestEsSourceFilter(std::move(es), width, height);
        m_source = static_cast<IBaseFilter*>(m_sourceFilter);
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_source, L"Source"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_decoder, L"Mpeg2 Decoder"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_renderer, L"Harvo Video Renderer"));
        ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_sourceFilter->Pin(), m_decoderFilter->InputPin(), nullptr));
        dshow::CMediaType type;
        ASSERT_EQ(S_OK, m_decoderFilter->GetMediaType(rgb32 ? 1 : 0, &type));
        ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_decoderFilter->OutputPin(), m_rendererFilter->InputPin(), &type));
    }
    void RunToCompletion()
    {
        ASSERT_TRUE(SUCCEEDED(m_control->Run()));
        // The graph may still report the previous run's completion: wait for this run's.
        for (int i = 0; i < 6000 && m_rendererFilter->CompletionsSent() == 0; ++i)
            Sleep(10);
        ASSERT_EQ(1, m_rendererFilter->CompletionsSent());
        LONG code = 0;
        ASSERT_EQ(S_OK, m_events->WaitForCompletion(60000, &code));
        EXPECT_EQ(EC_COMPLETE, code);
    }
    std::vector<uint8_t> ReadPicture(uint32_t width, uint32_t height)
    {
        CVideoStream* stream = m_host->VideoStreamTable()->Stream(m_presenter->StreamIndex());
        if (!stream || !stream->Texture())
            return {};
        return m_host->ReadTexture(stream->Texture(), width, height);
    }
    // The decoder's RGB32 output of a frame of the core's own decode, as rows top-down.
    static std::vector<uint8_t> ExpectedRgb(const test::DecodedFrame& frame, uint32_t w, uint32_t h)
    {
        const test::CorePicture p(frame.planes.data(), w, h);
        std::vector<uint8_t> bottomUp(size_t(w) * 4 * h);
        mpeg2videofilter::OutputBuffer o{bottomUp.data(), bottomUp.size(), size_t(w) * 4, h};
        mpeg2video::ProcessorRecord cpu;
        mpeg2video::DetectProcessor(&cpu);
        mpeg2videofilter::ConvertPicture(p.buffer, p.buffer, w, h, mpeg2videofilter::OutputFormat::kRGB32, o,
                                         cpu.capabilities);
        mpeg2videofilter::BlendLogo(
            mpeg2videofilter::LoadLogoOverlay(mpeg2videofilter::CurrentModule(), w <= 820 ? 136 : 137),
            mpeg2videofilter::OutputFormat::kRGB32, o, w, h);
        std::vector<uint8_t> rows(bottomUp.size());
        for (uint32_t y = 0; y < h; ++y)
            std::memcpy(&rows[size_t(y) * w * 4], &bottomUp[size_t(h - 1 - y) * w * 4], size_t(w) * 4);
        return rows;
    }
    void ExpectTimes(size_t frames)
    {
        const auto times = m_host->Times();
        ASSERT_EQ(frames, times.size());
        for (size_t i = 0; i < times.size(); ++i)
            ASSERT_EQ(REFERENCE_TIME(i) * 400000, times[i]) << i;
    }
    static void ExpectSamePixels(const std::vector<uint8_t>& want, const std::vector<uint8_t>& got)
    {
        ASSERT_EQ(want.size(), got.size());
        for (size_t i = 0; i < want.size(); i += 4)
            ASSERT_TRUE(want[i] == got[i] && want[i + 1] == got[i + 1] && want[i + 2] == got[i + 2])
                << "pixel " << i / 4;
    }

    test::CTestPresenterHost* m_host = nullptr;
    CComPtr<IGraphBuilder> m_graph;
    CComPtr<IMediaControl> m_control;
    CComPtr<IMediaEvent> m_events;
    CComPtr<IBaseFilter> m_source, m_decoder, m_renderer;
    CComPtr<IHVRConfig> m_config;
    CComPtr<IHVRAllocPresenter> m_presenterRef;
    CDVBAllocPresenter* m_presenter = nullptr;
    CHarvoVR* m_rendererFilter = nullptr;
    mpeg2videofilter::CMpeg2VideoDecoder* m_decoderFilter = nullptr;
    test::CTestEsSourceFilter* m_sourceFilter = nullptr;
};

TEST_F(RendererGraphTest, EveryFrameReachesThePresenterAndTheTextureHoldsTheLastOneAcrossADeviceReset)
{
    const auto es = test::ReadFileBytes(test::MediaPath("mpeg2video/options.m2v"));
    const auto decoded = test::DecodeWholeStream(es);
    const size_t frames = test::ReadFileBytes(test::MediaPath("mpeg2video/options.ref.yuv")).size() / (352 * 288 * 3 / 2);
    ASSERT_EQ(frames, decoded.frames.size());
    Build(es, 352, 288, true);
    ASSERT_TRUE(SUCCEEDED(m_control->Pause()));
    for (int i = 0; i < 1000 && m_host->Times().empty(); ++i)
        Sleep(10);
    ASSERT_EQ(1u, m_host->Times().size()) << "the paused graph shows its first picture";
    RunToCompletion();
    ExpectTimes(frames);
    EXPECT_DOUBLE_EQ(25.0, m_rendererFilter->FrameRateEstimate());
    const auto last = ExpectedRgb(decoded.frames.back(), 352, 288);
    ExpectSamePixels(last, ReadPicture(352, 288));

    // The viewer re-creates its device: the renderer and the presenter let go of their
    // default-pool objects, the reset succeeds, and the next frames rebuild everything.
    ASSERT_EQ(S_OK, m_config->ReleaseDeviceObjects());
    m_presenter->ReleaseTexture();
    ASSERT_EQ(S_OK, m_host->ResetDevice());
    ASSERT_EQ(S_OK, m_config->DeviceRestored());
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    m_host->ClearRecords();
    RunToCompletion();
    ExpectTimes(frames);
    EXPECT_EQ(CHarvoVR::kDeviceNormal, m_rendererFilter->DeviceStateForTest());
    ExpectSamePixels(last, ReadPicture(352, 288));
}

TEST_F(RendererGraphTest, SizeChangeMidStreamReconnectsAndYuy2GoesThroughWinesConversion)
{
    auto es = test::ReadFileBytes(test::MediaPath("mpeg2video/options.m2v"));
    const auto second = test::ReadFileBytes(test::MediaPath("mpeg2video/sd_interlaced.m2v"));
    const auto decodedSecond = test::DecodeWholeStream(second);
    const size_t firstFrames = test::DecodeWholeStream(es).frames.size();
    es.insert(es.end(), second.begin(), second.end());
    Build(es, 352, 288, false);
    RunToCompletion();
    ExpectTimes(firstFrames + decodedSecond.frames.size());
    const auto formats = m_host->Formats();
    ASSERT_GE(formats.size(), 2u);
    EXPECT_EQ(352, formats.front().width);
    EXPECT_EQ(288, formats.front().height);
    EXPECT_EQ(720, formats.back().width);
    EXPECT_EQ(576, formats.back().height);
    EXPECT_EQ(1024u, m_presenter->TextureWidth());
    EXPECT_EQ(576u, m_decoderFilter->PictureHeight());

    // Wine converts YUY2 without range expansion; compare with that (BT.601, studio range kept).
    const auto got = ReadPicture(720, 576);
    ASSERT_EQ(size_t(720) * 576 * 4, got.size());
    // From the same frame: the YUY2 the decoder made, converted as Wine does it.
    const test::CorePicture p(decodedSecond.frames.back().planes.data(), 720, 576);
    std::vector<uint8_t> yuy2(720 * 2 * 576);
    mpeg2videofilter::OutputBuffer o{yuy2.data(), yuy2.size(), 720 * 2, 576};
    mpeg2videofilter::ConvertPicture(p.buffer, p.buffer, 720, 576, mpeg2videofilter::OutputFormat::kYUY2, o, 0);
    mpeg2videofilter::BlendLogo(mpeg2videofilter::LoadLogoOverlay(mpeg2videofilter::CurrentModule(), 136),
                                mpeg2videofilter::OutputFormat::kYUY2, o, 720, 576);
    double total = 0;
    int worst = 0;
    for (size_t i = 0; i < size_t(720) * 576; ++i) {
        const int Y = yuy2[i * 2], U = yuy2[(i & ~size_t(1)) * 2 + 1] - 128, V = yuy2[(i & ~size_t(1)) * 2 + 3] - 128;
        const double want[3] = {Y + 1.772 * U, Y - 0.344 * U - 0.714 * V, Y + 1.402 * V};
        for (int c = 0; c < 3; ++c) {
            const double w = want[c] < 0 ? 0 : want[c] > 255 ? 255 : want[c];
            const int d = std::abs(int(std::lround(w)) - int(got[i * 4 + c]));
            total += d;
            worst = d > worst ? d : worst;
        }
    }
    const double mean = total / (720.0 * 576 * 3);
    RecordProperty("yuy2_mean_abs", std::to_string(mean));
    std::printf("YUY2 read-back against BT.601 without range expansion: mean %.3f, worst %d\n", mean, worst);
    EXPECT_LT(mean, 2.0);
}

} // namespace
