// The decoder filter in the platform's filter graph: an elementary stream from ffmpeg, one picture
// per sample with its presentation time, through the decoder into a sink. Every picture comes out
// (also those still queued at end of stream), in display order with the input's times, converted
// exactly as the conversion routines turn the core's own decode, with the logo from the bitmaps.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CMediaType.h"
#include "dshow/CTransformInputPin.h"
#include "dshow/CTransformOutputPin.h"
#include "dshow/FilterGraphFixture.h"
#include "dshow/MediaTypes.h"
#include "dshow/TestSinkFilter.h"
#include "dshow/VideoTypes.h"
#include "media/filters/mpeg2video/PlanarPicture.h"
#include "media/filters/mpeg2video/win/CMpeg2VideoDecoder.h"
#include "media/filters/mpeg2video/win/LogoOverlayLoader.h"
#include "media/filters/mpeg2video/win/TestEsSourceFilter.h"
#include "media/mpeg2video/StreamDecoder.h"
#include "support/TestMedia.h"

using dshow::CComPtr;
using mpeg2videofilter::CMpeg2VideoDecoder;

namespace {

class DecoderGraphTest : public test::FilterGraphFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(FilterGraphFixture::SetUp());
        m_es = test::ReadFileBytes(test::MediaPath("mpeg2video/options.m2v"));
        m_sourceFilter = new test::CTestEsSourceFilter(m_es, 352, 288);
        m_source = static_cast<IBaseFilter*>(m_sourceFilter);
        m_decoderFilter = new CMpeg2VideoDecoder();
        m_decoder = static_cast<IBaseFilter*>(m_decoderFilter);
        m_sinkFilter = new test::CTestSinkFilter(MEDIATYPE_Video);
        m_sink = static_cast<IBaseFilter*>(m_sinkFilter);
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_source, L"Source"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_decoder, L"Mpeg2 Decoder"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_sink, L"Sink"));
    }
    void ReleaseFilters() override
    {
        m_source.Release();
        m_decoder.Release();
        m_sink.Release();
    }
    void Connect()
    {
        ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_sourceFilter->Pin(), m_decoderFilter->InputPin(), nullptr));
        ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_decoderFilter->OutputPin(), m_sinkFilter->Pin(), nullptr));
    }
    void RunToEnd()
    {
        ASSERT_TRUE(SUCCEEDED(m_control->Run()));
        ASSERT_TRUE(m_sinkFilter->Pin()->m_endOfStream.Wait(30000));
        ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    }
    // What the filter must have made of frame i of the core's decode: YUY2, one picture blended
    // with itself, the small logo on top.
    std::vector<uint8_t> ExpectedFrame(const test::DecodedFrame& frame, const test::DecodedFrame& previous)
    {
        const test::CorePicture a(previous.planes.data(), 352, 288), b(frame.planes.data(), 352, 288);
        const uint32_t stride = 352 * 2;
        std::vector<uint8_t> out(size_t(stride) * 288);
        mpeg2videofilter::OutputBuffer o{out.data(), out.size(), stride, 288};
        mpeg2video::ProcessorRecord cpu;
        mpeg2video::DetectProcessor(&cpu);
        EXPECT_EQ(0, mpeg2videofilter::ConvertPicture(a.buffer, b.buffer, 352, 288,
                                                      mpeg2videofilter::OutputFormat::kYUY2, o, cpu.capabilities));
        mpeg2videofilter::BlendLogo(m_logo, mpeg2videofilter::OutputFormat::kYUY2, o, 352, 288);
        return out;
    }

    std::vector<uint8_t> m_es;
    CComPtr<IBaseFilter> m_source, m_decoder, m_sink;
    test::CTestEsSourceFilter* m_sourceFilter = nullptr;
    CMpeg2VideoDecoder* m_decoderFilter = nullptr;
    test::CTestSinkFilter* m_sinkFilter = nullptr;
    mpeg2videofilter::LogoOverlay m_logo =
        mpeg2videofilter::LoadLogoOverlay(mpeg2videofilter::CurrentModule(), mpeg2videofilter::kSmallLogoResource);
};

TEST_F(DecoderGraphTest, DeliversEveryPictureInDisplayOrderWithItsTimeAndTheLogo)
{
    ASSERT_EQ(133u, m_logo.width);
    ASSERT_EQ(48u, m_logo.height);
    m_decoderFilter->SetDoubleRateAllowed(false);
    Connect();
    const test::DecodedStream decoded = test::DecodeWholeStream(m_es);
    const auto ref = test::ReadFileBytes(test::MediaPath("mpeg2video/options.ref.yuv"));
    const size_t frameSize = 352 * 288 * 3 / 2;
    ASSERT_EQ(ref.size() / frameSize, decoded.frames.size());

    RunToEnd();
    const auto received = m_sinkFilter->Pin()->Received();
    const auto times = m_sinkFilter->Pin()->Times();
    // ffmpeg's count: nothing lost at the start or left in the decoder at the end.
    ASSERT_EQ(ref.size() / frameSize, received.size());
    ASSERT_EQ(received.size(), times.size());
    for (size_t i = 0; i < received.size(); ++i) {
        EXPECT_EQ(REFERENCE_TIME(i) * 400000, times[i].first) << i;
        EXPECT_EQ(REFERENCE_TIME(i + 1) * 400000, times[i].second) << i;
        ASSERT_EQ(ExpectedFrame(decoded.frames[i], decoded.frames[i]), received[i]) << "frame " << i;
    }
    // And the luma matches ffmpeg's decode closely away from the logo (rows 0 and 1 blend).
    double sse = 0;
    size_t n = 0;
    for (size_t i = 0; i < received.size(); ++i)
        for (uint32_t y = 80; y < 286; ++y)
            for (uint32_t x = 0; x < 352; ++x) {
                const int blended = (ref[i * frameSize + y * 352 + x] + ref[i * frameSize + (y + 1) * 352 + x]) / 2;
                const double d = double(received[i][y * 704 + 2 * x]) - blended;
                sse += d * d;
                ++n;
            }
    const double psnr = 10.0 * std::log10(255.0 * 255.0 * double(n) / (sse > 0 ? sse : 1));
    EXPECT_GT(psnr, 40.0);
}

TEST_F(DecoderGraphTest, DoubleRateMakesTwoFramesPerPictureBlendingThePreviousOne)
{
    Connect();
    EXPECT_TRUE(m_decoderFilter->DoubleRate()); // 352 pixels wide, allowed by default
    const test::DecodedStream decoded = test::DecodeWholeStream(m_es);
    RunToEnd();
    const auto received = m_sinkFilter->Pin()->Received();
    const auto times = m_sinkFilter->Pin()->Times();
    ASSERT_EQ(2 * decoded.frames.size(), received.size());
    for (size_t i = 0; i < decoded.frames.size(); ++i) {
        const REFERENCE_TIME t = REFERENCE_TIME(i) * 400000;
        EXPECT_EQ(t, times[2 * i].first);
        EXPECT_EQ(t + 200000, times[2 * i].second);
        EXPECT_EQ(t + 200000, times[2 * i + 1].first);
        EXPECT_EQ(t + 400000, times[2 * i + 1].second);
        const auto& previous = decoded.frames[i == 0 ? 0 : i - 1];
        ASSERT_EQ(ExpectedFrame(decoded.frames[i], previous), received[2 * i]) << "first of " << i;
        ASSERT_EQ(ExpectedFrame(decoded.frames[i], decoded.frames[i]), received[2 * i + 1]) << "second of " << i;
    }
}

TEST_F(DecoderGraphTest, FastPlaybackSkipsBPictures)
{
    m_decoderFilter->SetDoubleRateAllowed(false);
    Connect();
    // A segment at rate 4: only I and P pictures are shown.
    ASSERT_EQ(S_OK, m_decoderFilter->InputPin()->NewSegment(0, 0x7FFFFFFFFFFFFFFFLL, 4.0));
    const test::DecodedStream decoded = test::DecodeWholeStream(m_es);
    size_t shown = 0;
    for (const auto& f : decoded.frames)
        shown += f.codingType <= 2;
    ASSERT_LT(shown, decoded.frames.size());
    RunToEnd();
    EXPECT_EQ(shown, m_sinkFilter->Pin()->Received().size());
}

TEST_F(DecoderGraphTest, ForbiddenFrameRateCodeKeepsTheLastRate)
{
    // frame_rate_code 0 in every sequence header: the rate stays 25 (no zero or negative duration).
    std::vector<uint8_t> es = m_es;
    for (size_t i = 0; i + 8 <= es.size(); ++i)
        if (es[i] == 0 && es[i + 1] == 0 && es[i + 2] == 1 && es[i + 3] == 0xB3)
            es[i + 7] &= 0xF0;
    m_graph->RemoveFilter(m_source);
    m_source.Release();
    m_sourceFilter = new test::CTestEsSourceFilter(es, 352, 288);
    m_source = static_cast<IBaseFilter*>(m_sourceFilter);
    ASSERT_EQ(S_OK, m_graph->AddFilter(m_source, L"Source"));
    m_decoderFilter->SetDoubleRateAllowed(false);
    Connect();
    EXPECT_EQ(400000, m_decoderFilter->FrameDuration());
    RunToEnd();
    EXPECT_EQ(400000, m_decoderFilter->FrameDuration());
    const auto times = m_sinkFilter->Pin()->Times();
    ASSERT_FALSE(times.empty());
    for (const auto& t : times)
        EXPECT_EQ(400000, t.second - t.first);
}

TEST_F(DecoderGraphTest, JoiningInTheMiddleWaitsForAnIPictureWithItsTime)
{
    m_decoderFilter->SetDoubleRateAllowed(false);
    // Start at the third coded picture (a B picture), flagged as a discontinuity.
    ASSERT_GT(m_sourceFilter->m_units.size(), 14u);
    m_sourceFilter->m_firstUnit = 2;
    m_sourceFilter->m_firstIsDiscontinuity = true;
    Connect();
    const test::DecodedStream decoded = test::DecodeWholeStream(m_es);
    RunToEnd();
    const auto received = m_sinkFilter->Pin()->Received();
    const auto times = m_sinkFilter->Pin()->Times();
    ASSERT_FALSE(received.empty());
    // The first frame out is the next group's I picture (display 12), at its own time.
    size_t first = 0;
    while (first < decoded.frames.size() && !(first > 0 && decoded.frames[first].codingType == 1))
        ++first;
    ASSERT_LT(first, decoded.frames.size());
    EXPECT_EQ(REFERENCE_TIME(first) * 400000, times[0].first);
    EXPECT_EQ(ExpectedFrame(decoded.frames[first], decoded.frames[first]), received[0]);
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_EQ(times[i - 1].first + 400000, times[i].first) << i;
}

TEST_F(DecoderGraphTest, ChecksInputTypesAndOffersYuy2ThenRgb32)
{
    IPin* in = m_decoderFilter->InputPin();
    const auto header = test::FirstSequenceHeader(m_es);
    dshow::CMediaType mt;
    test::MakeMpeg2VideoType(header, 352, 288, &mt);
    EXPECT_EQ(S_OK, in->QueryAccept(&mt));
    // A sequence header that claims more bytes than the block holds.
    reinterpret_cast<MPEG2VIDEOINFO*>(mt.Format())->cbSequenceHeader += 1;
    EXPECT_EQ(S_FALSE, in->QueryAccept(&mt));
    reinterpret_cast<MPEG2VIDEOINFO*>(mt.Format())->cbSequenceHeader -= 1;
    reinterpret_cast<MPEG2VIDEOINFO*>(mt.Format())->dwProfile = 3;
    EXPECT_EQ(S_FALSE, in->QueryAccept(&mt));
    test::MakeMpeg2VideoType({}, 0, 0, &mt);
    EXPECT_EQ(S_OK, in->QueryAccept(&mt));
    mt.SetFormatType(&FORMAT_VideoInfo);
    EXPECT_EQ(S_FALSE, in->QueryAccept(&mt));

    // Checking a type takes nothing over; connecting does.
    EXPECT_EQ(720u, m_decoderFilter->PictureWidth());
    Connect();
    EXPECT_EQ(352u, m_decoderFilter->PictureWidth());
    CComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(S_OK, m_decoderFilter->OutputPin()->EnumMediaTypes(&types));
    AM_MEDIA_TYPE* got[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, types->Next(3, got, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_TRUE(got[0]->subtype == MEDIASUBTYPE_YUY2);
    EXPECT_TRUE(got[1]->subtype == MEDIASUBTYPE_RGB32);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(got[i]->formattype == FORMAT_VideoInfo2);
        ASSERT_EQ(112u, got[i]->cbFormat);
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER2*>(got[i]->pbFormat);
        EXPECT_EQ(400000, vih->AvgTimePerFrame);
        EXPECT_EQ(352, vih->rcSource.right);
        EXPECT_EQ(288, vih->rcTarget.bottom);
        EXPECT_EQ(352, vih->bmiHeader.biWidth);
        EXPECT_EQ(288, vih->bmiHeader.biHeight);
        EXPECT_EQ(i == 0 ? 16 : 32, vih->bmiHeader.biBitCount);
        EXPECT_EQ(DWORD(352 * 288 * (i == 0 ? 2 : 4)), vih->bmiHeader.biSizeImage);
        dshow::DeleteMediaType(got[i]);
    }
}

} // namespace
