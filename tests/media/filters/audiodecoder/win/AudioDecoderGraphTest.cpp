// The audio decoder filter in the platform's filter graph: MPEG audio and AC-3 from ffmpeg, in
// samples as a demultiplexer delivers them, through the filter into a sink. The PCM equals the
// mixer's output over our frame decoders, the times follow the frames, the output connected at the
// decoder's initial 44.1 kHz learns the stream's 48 kHz from the first sample, and the input type
// changes on the running connection.
#include <vector>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include <mmreg.h>
#include "dshow/CMediaType.h"
#include "dshow/CTransformInputPin.h"
#include "dshow/MediaTypes.h"
#include "dshow/CTransformOutputPin.h"
#include "dshow/FilterGraphFixture.h"
#include "dshow/TestSinkFilter.h"
#include "media/audio/AC3FrameDecoder.h"
#include "media/audio/InputByteBuffer.h"
#include "media/audio/MpegAudioFrameDecoder.h"
#include "media/filters/audiodecoder/win/CHarvoAudioDecoder.h"
#include "media/filters/audiodecoder/win/TestAudioSourceFilter.h"
#include "support/TestMedia.h"

using audiofilter::CHarvoAudioDecoder;
using dshow::CComPtr;

namespace {

// The stream through a bare frame decoder and its mixer: what the filter must deliver.
template <class Decoder>
std::vector<uint8_t> MixedPcm(const std::vector<uint8_t>& data, size_t* frames)
{
    Decoder decoder;
    audio::InputByteBuffer buffer;
    buffer.Allocate(0x20000);
    std::vector<uint8_t> pcm, frame(1536 * 4);
    *frames = 0;
    for (size_t at = 0; at < data.size(); at += 32768) {
        buffer.Append(&data[at], static_cast<int32_t>(std::min<size_t>(32768, data.size() - at)));
        for (int32_t n; (n = decoder.DecodeFrame(buffer)) > 0;) {
            buffer.Consume(n);
            const int32_t count = decoder.OutputFrame(frame.data());
            if (count > 0)
                ++*frames;
            pcm.insert(pcm.end(), frame.begin(), frame.begin() + count * 4);
        }
    }
    return pcm;
}

std::vector<uint8_t> Joined(const std::vector<std::vector<uint8_t>>& buffers)
{
    std::vector<uint8_t> all;
    for (const auto& b : buffers)
        all.insert(all.end(), b.begin(), b.end());
    return all;
}

uint32_t RateOf(const dshow::CMediaType& mt)
{
    if (*mt.FormatType() != FORMAT_WaveFormatEx || mt.FormatLength() < sizeof(WAVEFORMATEX))
        return 0;
    return reinterpret_cast<const WAVEFORMATEX*>(mt.Format())->nSamplesPerSec;
}

class AudioDecoderGraphTest : public test::FilterGraphFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(FilterGraphFixture::SetUp());
        m_sourceFilter = new test::CTestAudioSourceFilter();
        m_source = static_cast<IBaseFilter*>(m_sourceFilter);
        HRESULT hr = E_FAIL;
        m_decoderFilter = new CHarvoAudioDecoder(nullptr, &hr);
        ASSERT_EQ(S_OK, hr);
        m_decoder = static_cast<IBaseFilter*>(m_decoderFilter);
        m_sinkFilter = new test::CTestSinkFilter(MEDIATYPE_Audio);
        m_sink = static_cast<IBaseFilter*>(m_sinkFilter);
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_source, L"Source"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_decoder, L"Harvo Audio Decoder"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_sink, L"Sink"));
    }
    void ReleaseFilters() override
    {
        m_source.Release();
        m_decoder.Release();
        m_sink.Release();
    }
    void RunToEnd()
    {
        ASSERT_TRUE(SUCCEEDED(m_control->Run()));
        ASSERT_TRUE(m_sinkFilter->Pin()->m_endOfStream.Wait(30000));
        ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    }

    test::CTestAudioSourceFilter* m_sourceFilter = nullptr;
    CHarvoAudioDecoder* m_decoderFilter = nullptr;
    test::CTestSinkFilter* m_sinkFilter = nullptr;
    CComPtr<IBaseFilter> m_source, m_decoder, m_sink;
};

TEST_F(AudioDecoderGraphTest, MpegAudioThenAc3OnTheRunningConnection)
{
    const std::vector<uint8_t> mp2 = test::ReadFileBytes(test::MediaPath("mp2_stereo_48k_192.mp2"));
    const std::vector<uint8_t> ac3 = test::ReadFileBytes(test::MediaPath("ac3_51_48k.ac3"));
    ASSERT_FALSE(mp2.empty());
    ASSERT_FALSE(ac3.empty());
    m_sourceFilter->SetStream(mp2, false, 192000 / 8);
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_sourceFilter->Pin(), m_decoderFilter->InputPin(), nullptr));
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_decoderFilter->OutputPin(), m_sinkFilter->Pin(), nullptr));
    // Before any frame the decoder knows no better than 44.1 kHz stereo.
    EXPECT_EQ(44100u, RateOf(m_sinkFilter->Pin()->CurrentMediaType()));
    EXPECT_EQ(44100u, m_decoderFilter->ConnectedSampleRate());

    RunToEnd();
    size_t frames = 0;
    const std::vector<uint8_t> expected = MixedPcm<audio::MpegAudioFrameDecoder>(mp2, &frames);
    const auto received = m_sinkFilter->Pin()->Received();
    ASSERT_GT(frames, 40u);
    EXPECT_EQ(frames, received.size()); // one sample per frame
    EXPECT_TRUE(Joined(received) == expected);
    // The new rate rode on the first sample, and only there.
    const auto types = m_sinkFilter->Pin()->SampleTypes();
    ASSERT_EQ(1u, types.size());
    EXPECT_EQ(0u, types[0].first);
    EXPECT_EQ(48000u, RateOf(types[0].second));
    EXPECT_EQ(48000u, m_decoderFilter->ConnectedSampleRate());
    // 1152 samples at 48 kHz: 24 ms each, from the first sample's time on.
    const auto times = m_sinkFilter->Pin()->Times();
    ASSERT_EQ(received.size(), times.size());
    for (size_t i = 0; i < times.size(); ++i) {
        EXPECT_EQ(REFERENCE_TIME(i) * 240000, times[i].first) << i;
        EXPECT_EQ(REFERENCE_TIME(i + 1) * 240000, times[i].second) << i;
    }

    // The source switches to AC-3 without reconnecting: a new frame decoder, the output untouched.
    m_sinkFilter->Pin()->ClearReceived();
    m_sourceFilter->SetStream(ac3, true, 448000 / 8);
    dshow::CMediaType ac3Type;
    test::CTestAudioSourceFilter::MakeType(true, &ac3Type);
    EXPECT_EQ(S_OK, m_decoderFilter->InputPin()->ReceiveConnection(m_sourceFilter->Pin(), &ac3Type));
    dshow::CMediaType h264(&MEDIATYPE_Video);
    EXPECT_EQ(E_FAIL, m_decoderFilter->InputPin()->ReceiveConnection(m_sourceFilter->Pin(), &h264));
    RunToEnd();
    const std::vector<uint8_t> expectedAc3 = MixedPcm<audio::AC3FrameDecoder>(ac3, &frames);
    ASSERT_GT(frames, 20u);
    EXPECT_TRUE(Joined(m_sinkFilter->Pin()->Received()) == expectedAc3);
    EXPECT_TRUE(m_sinkFilter->Pin()->SampleTypes().empty());
    const auto ac3Times = m_sinkFilter->Pin()->Times();
    ASSERT_FALSE(ac3Times.empty());
    EXPECT_EQ(320000, ac3Times[0].second - ac3Times[0].first);
}

TEST_F(AudioDecoderGraphTest, RefusesOtherTypesAndOffersPcmOnlyBehindAConnectedInput)
{
    dshow::CMediaType pes;
    test::CTestAudioSourceFilter::MakeType(true, &pes);
    const GUID mpeg2Pes = {0xE06D8020, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
    pes.SetType(&mpeg2Pes);
    EXPECT_EQ(E_FAIL, m_decoderFilter->CheckInputType(&pes));
    dshow::CMediaType pcm(&MEDIATYPE_Audio);
    pcm.SetSubtype(&MEDIASUBTYPE_PCM);
    EXPECT_EQ(E_FAIL, m_decoderFilter->CheckInputType(&pcm));
    dshow::CMediaType offered;
    EXPECT_EQ(VFW_S_NO_MORE_ITEMS, m_decoderFilter->GetMediaType(0, &offered));

    m_sourceFilter->SetStream(std::vector<uint8_t>(100), false, 1000);
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_sourceFilter->Pin(), m_decoderFilter->InputPin(), nullptr));
    EXPECT_EQ(E_INVALIDARG, m_decoderFilter->GetMediaType(-1, &offered));
    EXPECT_EQ(VFW_S_NO_MORE_ITEMS, m_decoderFilter->GetMediaType(1, &offered));
    ASSERT_EQ(S_OK, m_decoderFilter->GetMediaType(0, &offered));
    EXPECT_EQ(MEDIASUBTYPE_PCM, *offered.Subtype());
    ASSERT_EQ(sizeof(WAVEFORMATEX), offered.FormatLength());
    const WAVEFORMATEX* wave = reinterpret_cast<const WAVEFORMATEX*>(offered.Format());
    EXPECT_EQ(2, wave->nChannels);
    EXPECT_EQ(16, wave->wBitsPerSample);
    EXPECT_EQ(4, wave->nBlockAlign);
    EXPECT_EQ(44100u * 4, wave->nAvgBytesPerSec);

    // Junk and an empty stream deliver nothing and end cleanly.
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_decoderFilter->OutputPin(), m_sinkFilter->Pin(), nullptr));
    RunToEnd();
    EXPECT_TRUE(m_sinkFilter->Pin()->Received().empty());
}

} // namespace

namespace {

// A renderer that answers S_FALSE for the new rate while it runs takes the rate from the sample:
// every frame is delivered, the first one carrying 48 kHz.
TEST_F(AudioDecoderGraphTest, ARateDownstreamAnswersSFalseForComesOnTheNextSample)
{
    const std::vector<uint8_t> mp2 = test::ReadFileBytes(test::MediaPath("mp2_stereo_48k_192.mp2"));
    ASSERT_FALSE(mp2.empty());
    m_sourceFilter->SetStream(mp2, false, 192000 / 8);
    m_sinkFilter->Pin()->m_refusedSampleRate = 48000; // its QueryAccept answers S_FALSE
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_sourceFilter->Pin(), m_decoderFilter->InputPin(), nullptr));
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_decoderFilter->OutputPin(), m_sinkFilter->Pin(), nullptr));
    RunToEnd();
    size_t frames = 0;
    const std::vector<uint8_t> expected = MixedPcm<audio::MpegAudioFrameDecoder>(mp2, &frames);
    ASSERT_GT(frames, 40u);
    EXPECT_TRUE(Joined(m_sinkFilter->Pin()->Received()) == expected);
    const auto types = m_sinkFilter->Pin()->SampleTypes();
    ASSERT_EQ(1u, types.size());
    EXPECT_EQ(0u, types[0].first);
    EXPECT_EQ(48000u, RateOf(types[0].second));
    EXPECT_EQ(48000u, m_decoderFilter->ConnectedSampleRate());
}

TEST_F(AudioDecoderGraphTest, ARateDownstreamRefusesStopsDeliveryWithAFailure)
{
    const std::vector<uint8_t> mp2 = test::ReadFileBytes(test::MediaPath("mp2_stereo_48k_192.mp2"));
    ASSERT_FALSE(mp2.empty());
    m_sourceFilter->SetStream(mp2, false, 192000 / 8);
    m_sinkFilter->Pin()->m_refusedSampleRate = 48000;
    m_sinkFilter->Pin()->m_refusal = VFW_E_TYPE_NOT_ACCEPTED;
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_sourceFilter->Pin(), m_decoderFilter->InputPin(), nullptr));
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_decoderFilter->OutputPin(), m_sinkFilter->Pin(), nullptr));
    RunToEnd(); // the source ends its stream at the first failed delivery
    EXPECT_TRUE(m_sinkFilter->Pin()->Received().empty());
    EXPECT_EQ(44100u, m_decoderFilter->ConnectedSampleRate());
}

} // namespace

#include "media/filters/audiodecoder/win/CAudioAllocator.h"

namespace {

TEST(AudioAllocator, PendingTypeIsReadOnlyAsAWholeWaveFormatAndGrowsTheBuffers)
{
    HRESULT hr = S_OK;
    CComPtr<IMemAllocator> allocator(new audiofilter::CAudioAllocator(nullptr, &hr));
    auto* audio = static_cast<audiofilter::CAudioAllocator*>(allocator.Get());
    ALLOCATOR_PROPERTIES request = {1, 4096, 1, 0}, actual;
    ASSERT_EQ(S_OK, allocator->SetProperties(&request, &actual));
    IMediaSample* sample = nullptr;
    EXPECT_EQ(VFW_E_NOT_COMMITTED, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
    ASSERT_EQ(S_OK, allocator->Commit());

    dshow::CMediaType type;
    test::CTestAudioSourceFilter::MakeType(false, &type);
    WAVEFORMATEX* wave = reinterpret_cast<WAVEFORMATEX*>(type.Format());
    wave->nAvgBytesPerSec = 192000; // a quarter second: 48000 bytes
    // A block shorter than WAVEFORMATEX, or of another format type, is refused without a sample.
    dshow::CMediaType shortType(type);
    shortType.ReallocFormatBuffer(14);
    audio->SetPendingType(shortType);
    EXPECT_EQ(E_FAIL, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
    EXPECT_EQ(nullptr, sample);
    dshow::CMediaType videoFormat(type);
    videoFormat.SetFormatType(&FORMAT_VideoInfo);
    audio->SetPendingType(videoFormat);
    EXPECT_EQ(E_FAIL, allocator->GetBuffer(&sample, nullptr, nullptr, 0));

    audio->SetPendingType(type);
    ASSERT_EQ(S_OK, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
    EXPECT_GE(sample->GetSize(), 48000);
    AM_MEDIA_TYPE* carried = nullptr;
    ASSERT_EQ(S_OK, sample->GetMediaType(&carried));
    EXPECT_EQ(192000u, reinterpret_cast<WAVEFORMATEX*>(carried->pbFormat)->nAvgBytesPerSec);
    dshow::DeleteMediaType(carried);
    sample->Release();
    // Taken once: the next sample carries no type.
    ASSERT_EQ(S_OK, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
    EXPECT_EQ(S_FALSE, sample->GetMediaType(&carried));
    sample->Release();
    allocator->Decommit();
}

} // namespace
