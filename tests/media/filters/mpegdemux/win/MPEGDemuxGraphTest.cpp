// The MPEG push demultiplexer inside the platform's filter graph manager, delivering to sink
// filters: every sample arrives with its time, resets and PID changes while running, the audio
// type change, and stopping with a full queue.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "dshow/CComPtr.h"
#include "dshow/CUnknown.h"
#include "dshow/FilterGraphFixture.h"
#include "dshow/MediaTypes.h"
#include "media/filters/mpegdemux/DemuxTestSupport.h"
#include "media/filters/mpegdemux/win/CDemuxSinkFilter.h"
#include "media/filters/mpegdemux/win/CMPEGDemux.h"
#include "support/TestMedia.h"

using dshow::CComPtr;
using mpegdemux::CMPEGDemux;
using test::CDemuxSinkFilter;

namespace {

constexpr WORD kVideoPid = 256, kMp2Pid = 257, kAc3Pid = 258;

class MPEGDemuxGraphTest : public test::FilterGraphFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(FilterGraphFixture::SetUp());
        m_ts = test::ReadFileBytes(test::MediaPath("services.ts"));
    }
    void TearDown() override
    {
        if (m_control)
            m_control->Stop();
        FilterGraphFixture::TearDown();
    }
    void ReleaseFilters() override { m_filters.clear(); }

    void Build(LONG audioQueueLimit, std::vector<GUID> audioTypes)
    {
        HRESULT hr = E_FAIL;
        m_demux = new CMPEGDemux(nullptr, &hr, audioQueueLimit);
        ASSERT_EQ(S_OK, hr);
        Add(static_cast<IBaseFilter*>(m_demux), L"Demux");
        m_video = new CDemuxSinkFilter();
        m_video->Pin()->m_accepted = {MEDIASUBTYPE_MPEG2_VIDEO};
        Add(static_cast<IBaseFilter*>(m_video), L"Video sink");
        m_audio = new CDemuxSinkFilter();
        m_audio->Pin()->m_accepted = audioTypes;
        Add(static_cast<IBaseFilter*>(m_audio), L"Audio sink");
        CComPtr<IPin> video, audio;
        ASSERT_EQ(S_OK, m_demux->FindPin(L"Video", &video));
        ASSERT_EQ(S_OK, m_demux->FindPin(L"Audio", &audio));
        CComPtr<IPin> none;
        EXPECT_EQ(E_FAIL, m_demux->FindPin(L"Subtitle", &none));
        ASSERT_EQ(S_OK, m_graph->ConnectDirect(video, m_video->Pin(), nullptr));
        ASSERT_EQ(S_OK, m_graph->ConnectDirect(audio, m_audio->Pin(), nullptr));
    }
    void Add(IBaseFilter* filter, const wchar_t* name)
    {
        m_filters.emplace_back(filter);
        ASSERT_EQ(S_OK, m_graph->AddFilter(filter, name));
    }
    void Push(size_t from = 0, size_t to = SIZE_MAX)
    {
        for (size_t offset = from; offset + 188 <= m_ts.size() && offset < to; offset += 188)
            m_demux->PushPacket(m_ts.data() + offset);
    }
    static std::vector<test::ReceivedSample> WithData(const std::vector<test::ReceivedSample>& samples)
    {
        std::vector<test::ReceivedSample> kept;
        for (const auto& s : samples)
            if (!s.data.empty())
                kept.push_back(s);
        return kept;
    }

    std::vector<CComPtr<IBaseFilter>> m_filters;
    CMPEGDemux* m_demux = nullptr;
    CDemuxSinkFilter* m_video = nullptr;
    CDemuxSinkFilter* m_audio = nullptr;
    std::vector<uint8_t> m_ts;
};

TEST_F(MPEGDemuxGraphTest, EverySampleArrivesWithItsTime)
{
    Build(10000, {MEDIASUBTYPE_MPEG1Payload});
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(S_OK, m_video->Pin()->ConnectionMediaType(&mt));
    EXPECT_TRUE(mt.formattype == FORMAT_MPEG2Video);
    EXPECT_EQ(176u, mt.cbFormat);
    dshow::FreeMediaType(mt);
    ASSERT_EQ(S_OK, m_audio->Pin()->ConnectionMediaType(&mt));
    EXPECT_EQ(40u, mt.cbFormat);
    dshow::FreeMediaType(mt);

    const test::DemuxRun expected = test::DemuxFile(test::MediaPath("services.ts"), kVideoPid, kMp2Pid);
    ASSERT_EQ(S_OK, m_demux->SetPIDs(kVideoPid, kMp2Pid, 0));
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    Push();
    ASSERT_TRUE(m_video->Pin()->WaitForSamples(expected.units[0].size(), 20000));
    ASSERT_TRUE(m_audio->Pin()->WaitForSamples(expected.units[1].size(), 20000));
    test::CDemuxSinkFilter* sinks[2] = {m_video, m_audio};
    for (int pin = 0; pin < 2; ++pin) {
        const auto got = WithData(sinks[pin]->Pin()->Received());
        ASSERT_EQ(expected.units[pin].size(), got.size());
        for (size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(expected.units[pin][i].data, got[i].data) << "pin " << pin << " sample " << i;
            ASSERT_TRUE(got[i].hasTime);
            EXPECT_EQ(expected.units[pin][i].start, got[i].start);
            EXPECT_EQ(i == 0, got[i].discontinuity);
        }
    }
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    // Run again without new PIDs: a new time line starts and everything arrives again.
    const size_t video = m_video->Pin()->Count(), audio = m_audio->Pin()->Count();
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    Push();
    EXPECT_TRUE(m_video->Pin()->WaitForSamples(video + expected.units[0].size(), 20000));
    EXPECT_TRUE(m_audio->Pin()->WaitForSamples(audio + expected.units[1].size(), 20000));
    EXPECT_EQ(expected.units[0][0].start, WithData(m_video->Pin()->Received())[video].start);
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
}

TEST_F(MPEGDemuxGraphTest, HundredResetsWhileRunningNeverStopDelivery)
{
    Build(10000, {MEDIASUBTYPE_MPEG1Payload});
    const test::DemuxRun expected = test::DemuxFile(test::MediaPath("services.ts"), kVideoPid, kMp2Pid);
    ASSERT_EQ(S_OK, m_demux->SetPIDs(kVideoPid, kMp2Pid, 0));
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    std::atomic<int> resets{0};
    std::thread producer([&] {
        while (resets < 100)
            Push();
    });
    for (; resets < 100; ++resets) {
        ASSERT_EQ(S_OK, m_demux->Reset());
        const size_t seen = m_video->Pin()->Count();
        m_video->Pin()->WaitForSamples(seen + 1, 200); // let some delivery happen between resets
    }
    producer.join();
    EXPECT_GE(m_video->Pin()->m_flushes, 100);
    const size_t video = m_video->Pin()->Count(), audio = m_audio->Pin()->Count();
    Push();
    EXPECT_TRUE(m_video->Pin()->WaitForSamples(video + expected.units[0].size() - 2, 20000));
    EXPECT_TRUE(m_audio->Pin()->WaitForSamples(audio + expected.units[1].size() - 2, 20000));
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
}

TEST_F(MPEGDemuxGraphTest, SwitchToTheAc3PidChangesTheAudioType)
{
    Build(10000, {MEDIASUBTYPE_MPEG1Payload, MEDIASUBTYPE_DOLBY_AC3});
    ASSERT_EQ(S_OK, m_demux->SetPIDs(kVideoPid, kMp2Pid, 0));
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    Push(0, m_ts.size() / 2);
    ASSERT_TRUE(m_audio->Pin()->WaitForSamples(5, 20000));
    ASSERT_EQ(S_OK, m_demux->SetPIDs(kVideoPid, kAc3Pid, 0));
    const size_t before = m_audio->Pin()->Count();
    Push();
    ASSERT_TRUE(m_audio->Pin()->WaitForSamples(before + 5, 20000));
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(S_OK, static_cast<IPin*>(m_demux->AudioPin())->ConnectionMediaType(&mt));
    EXPECT_TRUE(mt.subtype == MEDIASUBTYPE_DOLBY_AC3);
    EXPECT_TRUE(mt.formattype == FORMAT_None);
    dshow::FreeMediaType(mt);
    const auto got = WithData(m_audio->Pin()->Received());
    // The first AC-3 sample (frames start with 0B 77) tells the sink of the new type; at most
    // the MPEG sample in delivery during the switch comes between.
    size_t first = before;
    while (first < got.size() && !(got[first].data[0] == 0x0B && got[first].data[1] == 0x77))
        ++first;
    ASSERT_LT(first, got.size());
    EXPECT_LE(first, before + 1);
    EXPECT_TRUE(got[first].newSubtype == MEDIASUBTYPE_DOLBY_AC3);
    for (size_t i = first; i < got.size(); ++i)
        EXPECT_TRUE(got[i].data[0] == 0x0B && got[i].data[1] == 0x77) << "sample " << i;
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
}

TEST_F(MPEGDemuxGraphTest, AudioPidChangingToAc3MidStreamKeepsDelivering)
{
    Build(10000, {MEDIASUBTYPE_MPEG1Payload, MEDIASUBTYPE_DOLBY_AC3});
    ASSERT_EQ(S_OK, m_demux->SetPIDs(kVideoPid, kMp2Pid, 0));
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    Push(0, m_ts.size() / 2 / 188 * 188);
    ASSERT_TRUE(m_audio->Pin()->WaitForSamples(5, 20000));
    // From here the MP2 PID carries the AC-3 stream: same clock, no new PIDs, no reset.
    for (size_t offset = m_ts.size() / 2 / 188 * 188; offset + 188 <= m_ts.size(); offset += 188) {
        uint8_t* p = &m_ts[offset];
        const WORD pid = static_cast<WORD>(((p[1] & 0x1F) << 8) | p[2]);
        if (pid == kMp2Pid)
            continue;
        if (pid == kAc3Pid)
            p[2] = static_cast<uint8_t>(kMp2Pid);
        m_demux->PushPacket(p);
    }
    const DWORD start = GetTickCount();
    size_t ac3 = 0;
    while (ac3 < 5 && GetTickCount() - start < 20000) {
        ac3 = 0;
        for (const auto& s : WithData(m_audio->Pin()->Received()))
            ac3 += s.data[0] == 0x0B && s.data[1] == 0x77;
        Sleep(1);
    }
    EXPECT_GE(ac3, 5u);
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
}

TEST_F(MPEGDemuxGraphTest, RefusedAudioTypeKeepsTheConnectionAndTheData)
{
    Build(10000, {MEDIASUBTYPE_MPEG1Payload});
    ASSERT_EQ(S_OK, m_demux->SetPIDs(kVideoPid, kAc3Pid, 0));
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    Push();
    ASSERT_TRUE(m_audio->Pin()->WaitForSamples(5, 20000));
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(S_OK, static_cast<IPin*>(m_demux->AudioPin())->ConnectionMediaType(&mt));
    EXPECT_TRUE(mt.subtype == MEDIASUBTYPE_MPEG1Payload);
    dshow::FreeMediaType(mt);
    for (const auto& s : m_audio->Pin()->Received())
        EXPECT_TRUE(s.newSubtype == GUID_NULL);
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
}

TEST_F(MPEGDemuxGraphTest, StopReturnsWhileTheProducerWaitsOnAFullQueue)
{
    Build(5, {MEDIASUBTYPE_MPEG1Payload});
    ASSERT_EQ(S_OK, m_demux->SetPIDs(kVideoPid, kMp2Pid, 0));
    m_audio->Pin()->m_gate.Reset(); // the audio renderer holds its first sample
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    std::atomic<bool> done{false};
    std::thread producer([&] {
        Push();
        done = true;
    });
    const DWORD start = GetTickCount();
    while (m_demux->AudioPin()->QueuedPackets() <= 5 && GetTickCount() - start < 20000)
        Sleep(1);
    EXPECT_EQ(6u, m_demux->AudioPin()->QueuedPackets());
    EXPECT_FALSE(done);
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    producer.join(); // returns: the stop let the waiting producer go
    EXPECT_TRUE(done);
    EXPECT_EQ(0u, m_demux->AudioPin()->QueuedPackets());
    // Packets pushed into a stopped graph are dropped, never waited on.
    Push();
}

} // namespace
