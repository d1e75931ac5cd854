// CTransformFilter and CBaseRenderer in the platform's filter graph: source -> transform ->
// renderer, samples shown in order no earlier than their time on the graph clock, EC_COMPLETE
// after the last one, and a stop while the renderer holds a sample.
#include <gtest/gtest.h>

#include <vector>

#include "dshow/CAutoLock.h"
#include "dshow/CBaseRenderer.h"
#include "dshow/CComPtr.h"
#include "dshow/FilterGraphFixture.h"
#include "dshow/CTransformFilter.h"
#include "dshow/CTransformInputPin.h"
#include "dshow/CTransformOutputPin.h"
#include "dshow/CRendererInputPin.h"
#include "dshow/TestSourceFilter.h"

using dshow::CComPtr;

namespace {

const GUID kTransformClsid = {0x6e0b5a2c, 0x0d44, 0x4f0a, {0x9b, 0x1e, 0x6a, 0x3c, 0x1d, 0x2e, 0x4f, 0x10}};
const GUID kRendererClsid = {0x6e0b5a2c, 0x0d44, 0x4f0a, {0x9b, 0x1e, 0x6a, 0x3c, 0x1d, 0x2e, 0x4f, 0x11}};

// Complements every byte; its output is MEDIATYPE_Stream with a null subtype.
class CInvertFilter : public dshow::CTransformFilter {
public:
    CInvertFilter() : CTransformFilter(L"Invert", nullptr, kTransformClsid) {}
    HRESULT CheckInputType(const dshow::CMediaType* in) override
    {
        return *in->Type() == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT CheckTransform(const dshow::CMediaType* in, const dshow::CMediaType* out) override
    {
        return *out->Type() == MEDIATYPE_Stream && *out->Subtype() == GUID_NULL ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override
    {
        request->cBuffers = 2;
        request->cbBuffer = test::CTestSourcePin::kBufferSize;
        ALLOCATOR_PROPERTIES actual;
        return allocator->SetProperties(request, &actual);
    }
    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override
    {
        if (position < 0)
            return E_INVALIDARG;
        if (position > 0)
            return VFW_S_NO_MORE_ITEMS;
        mt->InitMediaType();
        mt->SetType(&MEDIATYPE_Stream);
        return S_OK;
    }
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        BYTE *src = nullptr, *dst = nullptr;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        LONG n = in->GetActualDataLength();
        for (LONG i = 0; i < n; ++i)
            dst[i] = static_cast<BYTE>(~src[i]);
        out->SetActualDataLength(n);
        return S_OK;
    }
    HRESULT StartStreaming() override
    {
        ++m_starts;
        return S_OK;
    }
    HRESULT StopStreaming() override
    {
        ++m_stops;
        return S_OK;
    }
    int m_starts = 0, m_stops = 0;
};

struct Rendered {
    std::vector<uint8_t> bytes;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME shownAt = 0; // stream time when shown
};

class CRecordingRenderer : public dshow::CBaseRenderer {
public:
    CRecordingRenderer() : CBaseRenderer(kRendererClsid, L"Recorder", nullptr, nullptr) {}
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override
    {
        return *mt->Type() == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT DoRenderSample(IMediaSample* sample) override
    {
        Rendered r;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        r.bytes.assign(data, data + sample->GetActualDataLength());
        REFERENCE_TIME stop;
        sample->GetTime(&r.start, &stop);
        REFERENCE_TIME now = 0;
        if (m_clock && SUCCEEDED(m_clock->GetTime(&now)))
            r.shownAt = now - m_start;
        dshow::CAutoLock lock(&m_listLock);
        m_rendered.push_back(r);
        return S_OK;
    }
    size_t Count()
    {
        dshow::CAutoLock lock(&m_listLock);
        return m_rendered.size();
    }
    dshow::CCritSec m_listLock;
    std::vector<Rendered> m_rendered;
};

class TransformRendererTest : public test::FilterGraphFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(FilterGraphFixture::SetUp());
        ASSERT_EQ(S_OK, m_graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&m_events)));
        m_sourceFilter = new test::CTestSourceFilter();
        m_source = static_cast<IBaseFilter*>(m_sourceFilter);
        m_transformFilter = new CInvertFilter();
        m_transform = static_cast<IBaseFilter*>(m_transformFilter);
        m_rendererFilter = new CRecordingRenderer();
        m_renderer = static_cast<IBaseFilter*>(m_rendererFilter);
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_source, L"Source"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_transform, L"Invert"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_renderer, L"Recorder"));
    }
    void TearDown() override
    {
        m_events.Release();
        FilterGraphFixture::TearDown();
    }
    void ReleaseFilters() override
    {
        m_source.Release();
        m_transform.Release();
        m_renderer.Release();
    }
    void Connect()
    {
        // The output offers nothing before the input is connected.
        EXPECT_TRUE(FAILED(m_graph->ConnectDirect(m_transformFilter->OutputPin(), m_rendererFilter->InputPin(), nullptr)));
        ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_sourceFilter->Pin(), m_transformFilter->InputPin(), nullptr));
        ASSERT_EQ(S_OK, m_graph->ConnectDirect(m_transformFilter->OutputPin(), m_rendererFilter->InputPin(), nullptr));
    }

    CComPtr<IMediaEvent> m_events;
    CComPtr<IBaseFilter> m_source, m_transform, m_renderer;
    test::CTestSourceFilter* m_sourceFilter = nullptr;
    CInvertFilter* m_transformFilter = nullptr;
    CRecordingRenderer* m_rendererFilter = nullptr;
};

TEST_F(TransformRendererTest, RendersEverySampleOnTimeThenCompletes)
{
    Connect();
    m_sourceFilter->Pin()->m_bufferCount = 12;
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    LONG code = 0;
    ASSERT_EQ(S_OK, m_events->WaitForCompletion(20000, &code));
    EXPECT_EQ(EC_COMPLETE, code);
    EXPECT_EQ(1, m_rendererFilter->CompletionsSent());
    ASSERT_EQ(12u, m_rendererFilter->Count());
    for (uint32_t i = 0; i < 12; ++i) {
        const Rendered& r = m_rendererFilter->m_rendered[i];
        EXPECT_EQ(static_cast<REFERENCE_TIME>(i) * 400000, r.start);
        // Shown no earlier than due (the clock's granularity is 1 ms).
        EXPECT_GE(r.shownAt + 10000, r.start) << i;
        ASSERT_EQ(static_cast<size_t>(test::CTestSourcePin::LengthOf(i)), r.bytes.size());
        for (size_t j = 0; j < r.bytes.size(); ++j)
            ASSERT_EQ(static_cast<uint8_t>(~test::CTestSourcePin::PatternByte(i, j)), r.bytes[j]);
    }
    // The last sample is due 440 ms after the start; the samples were paced, not burst.
    EXPECT_GE(m_rendererFilter->m_rendered.back().shownAt, 440000 - 10000);
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    EXPECT_EQ(1, m_transformFilter->m_starts);
    EXPECT_EQ(1, m_transformFilter->m_stops);
}

TEST_F(TransformRendererTest, PausedRendererHoldsTheFirstSampleAndStopReleasesIt)
{
    Connect();
    m_sourceFilter->Pin()->m_bufferCount = 1000;
    ASSERT_TRUE(SUCCEEDED(m_control->Pause()));
    FILTER_STATE state;
    // Ready once a sample arrived; nothing is rendered while paused.
    ASSERT_EQ(S_OK, m_renderer->GetState(10000, &state));
    EXPECT_EQ(State_Paused, state);
    EXPECT_EQ(0u, m_rendererFilter->Count());
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    for (int i = 0; i < 2000 && m_rendererFilter->Count() < 3; ++i)
        Sleep(5);
    EXPECT_GE(m_rendererFilter->Count(), 3u);
    // A stop abandons the sample waiting for its time, and the source's thread ends.
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    size_t shown = m_rendererFilter->Count();
    EXPECT_LT(shown, 1000u);
    EXPECT_EQ(0, m_rendererFilter->CompletionsSent());
    EXPECT_EQ(1, m_transformFilter->m_stops);
}

TEST_F(TransformRendererTest, FlushAbandonsTheHeldSampleAndPassesDownstream)
{
    Connect();
    m_sourceFilter->Pin()->m_bufferCount = 1000;
    ASSERT_TRUE(SUCCEEDED(m_control->Pause()));
    FILTER_STATE state;
    ASSERT_EQ(S_OK, m_renderer->GetState(10000, &state));
    // A flush from upstream reaches the renderer through the transform: the paused sample is
    // dropped, samples arriving meanwhile are refused, and nothing is shown or completed.
    ASSERT_EQ(S_OK, m_transformFilter->InputPin()->BeginFlush());
    EXPECT_TRUE(m_rendererFilter->InputPin()->IsFlushing());
    ASSERT_EQ(S_OK, m_transformFilter->InputPin()->EndFlush());
    EXPECT_FALSE(m_rendererFilter->InputPin()->IsFlushing());
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    EXPECT_EQ(0u, m_rendererFilter->Count());
    EXPECT_EQ(0, m_rendererFilter->CompletionsSent());
}

} // namespace
