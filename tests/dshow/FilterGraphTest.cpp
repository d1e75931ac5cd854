// Our base classes inside the platform's filter graph manager: connection through IGraphBuilder,
// state changes through IMediaControl, samples flowing from a push source to a sink.
#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CUnknown.h"
#include "dshow/FilterGraphFixture.h"
#include "dshow/MediaTypes.h"
#include "dshow/TestSinkFilter.h"
#include "dshow/TestSourceFilter.h"

using dshow::CComPtr;

namespace {

class FilterGraphTest : public test::FilterGraphFixture {
protected:
    void ReleaseFilters() override
    {
        m_source.Release();
        m_sink.Release();
    }

    void AddPair(const GUID& sinkAccepts)
    {
        m_sourceFilter = new test::CTestSourceFilter();
        m_source = static_cast<IBaseFilter*>(m_sourceFilter);
        m_sinkFilter = new test::CTestSinkFilter(sinkAccepts);
        m_sink = static_cast<IBaseFilter*>(m_sinkFilter);
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_source, L"Source"));
        ASSERT_EQ(S_OK, m_graph->AddFilter(m_sink, L"Sink"));
    }
    IPin* OutPin() { return static_cast<IPin*>(m_sourceFilter->Pin()); }
    IPin* InPin() { return static_cast<IPin*>(m_sinkFilter->Pin()); }

    FILTER_STATE GraphState()
    {
        OAFilterState state = -1;
        for (int i = 0; i < 200; ++i) {
            if (m_control->GetState(10, &state) == S_OK)
                break;
        }
        return static_cast<FILTER_STATE>(state);
    }

    void ExpectAllBuffers()
    {
        ASSERT_TRUE(m_sinkFilter->Pin()->m_endOfStream.Wait(20000));
        auto received = m_sinkFilter->Pin()->Received();
        ASSERT_EQ(m_sourceFilter->Pin()->m_bufferCount, received.size());
        for (uint32_t i = 0; i < received.size(); ++i) {
            ASSERT_EQ(static_cast<size_t>(test::CTestSourcePin::LengthOf(i)), received[i].size()) << "buffer " << i;
            for (uint32_t j = 0; j < received[i].size(); ++j)
                ASSERT_EQ(test::CTestSourcePin::PatternByte(i, j), received[i][j]) << "buffer " << i << " byte " << j;
        }
    }

    CComPtr<IBaseFilter> m_source;
    CComPtr<IBaseFilter> m_sink;
    test::CTestSourceFilter* m_sourceFilter = nullptr;
    test::CTestSinkFilter* m_sinkFilter = nullptr;
};

TEST_F(FilterGraphTest, ConnectsRunsPausesStopsAndDisconnects)
{
    AddPair(MEDIATYPE_Stream);
    ASSERT_EQ(S_OK, m_graph->Connect(OutPin(), InPin()));

    CComPtr<IPin> peer;
    ASSERT_EQ(S_OK, OutPin()->ConnectedTo(&peer));
    EXPECT_EQ(InPin(), peer.Get());
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(S_OK, InPin()->ConnectionMediaType(&mt));
    EXPECT_TRUE(mt.majortype == MEDIATYPE_Stream);
    EXPECT_TRUE(mt.subtype == MEDIASUBTYPE_MPEG2_TRANSPORT);
    dshow::FreeMediaType(mt);

    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    EXPECT_EQ(State_Running, GraphState());
    ExpectAllBuffers();
    // A connected pin cannot be disconnected while the graph streams.
    EXPECT_EQ(VFW_E_NOT_STOPPED, OutPin()->Disconnect());

    ASSERT_TRUE(SUCCEEDED(m_control->Pause()));
    EXPECT_EQ(State_Paused, GraphState());
    FILTER_STATE filterState;
    ASSERT_EQ(S_OK, m_sink->GetState(0, &filterState));
    EXPECT_EQ(State_Paused, filterState);

    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    EXPECT_EQ(State_Stopped, GraphState());
    ASSERT_EQ(S_OK, m_source->GetState(0, &filterState));
    EXPECT_EQ(State_Stopped, filterState);

    // A second run streams everything again from a fresh worker.
    m_sinkFilter->Pin()->ClearReceived();
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    ExpectAllBuffers();
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));

    ASSERT_EQ(S_OK, m_graph->Disconnect(OutPin()));
    ASSERT_EQ(S_OK, m_graph->Disconnect(InPin()));
    IPin* none = reinterpret_cast<IPin*>(1);
    EXPECT_EQ(VFW_E_NOT_CONNECTED, InPin()->ConnectedTo(&none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(S_FALSE, OutPin()->Disconnect());
    ASSERT_EQ(S_OK, m_graph->RemoveFilter(m_source));
    ASSERT_EQ(S_OK, m_graph->RemoveFilter(m_sink));
}

TEST_F(FilterGraphTest, StopsWhileTheSourceWaitsForBuffers)
{
    // A sink that never returns its samples' buffers would block the source in GetBuffer; a
    // sink that is paused refuses nothing, so use a long stream and stop in the middle.
    AddPair(MEDIATYPE_Stream);
    m_sourceFilter->Pin()->m_bufferCount = 1000000;
    ASSERT_EQ(S_OK, m_graph->ConnectDirect(OutPin(), InPin(), nullptr));
    ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    while (m_sinkFilter->Pin()->Received().size() < 10)
        Sleep(1);
    ASSERT_TRUE(SUCCEEDED(m_control->Stop()));
    EXPECT_EQ(State_Stopped, GraphState());
    size_t afterStop = m_sinkFilter->Pin()->Received().size();
    Sleep(50);
    EXPECT_EQ(afterStop, m_sinkFilter->Pin()->Received().size());
    EXPECT_LT(afterStop, 1000000u);
}

TEST_F(FilterGraphTest, RefusesAMediaTypeTheSinkDoesNotTake)
{
    AddPair(MEDIATYPE_Audio);
    EXPECT_TRUE(FAILED(m_graph->ConnectDirect(OutPin(), InPin(), nullptr)));
    IPin* none = nullptr;
    EXPECT_EQ(VFW_E_NOT_CONNECTED, OutPin()->ConnectedTo(&none));
    EXPECT_EQ(VFW_E_NOT_CONNECTED, InPin()->ConnectedTo(&none));
    // A pin cannot connect to one of its own direction.
    EXPECT_EQ(VFW_E_INVALID_DIRECTION, InPin()->Connect(InPin(), nullptr));
}

TEST_F(FilterGraphTest, EnumeratesPinsAndMediaTypes)
{
    AddPair(MEDIATYPE_Stream);
    CComPtr<IEnumPins> pins;
    ASSERT_EQ(S_OK, m_source->EnumPins(&pins));
    IPin* got[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, pins->Next(2, got, &fetched));
    ASSERT_EQ(1u, fetched);
    EXPECT_EQ(OutPin(), got[0]);
    got[0]->Release();
    EXPECT_EQ(S_FALSE, pins->Skip(1));
    ASSERT_EQ(S_OK, pins->Reset());
    CComPtr<IEnumPins> clone;
    ASSERT_EQ(S_OK, pins->Clone(&clone));
    EXPECT_EQ(S_OK, clone->Skip(1));
    m_sourceFilter->IncrementPinVersion();
    EXPECT_EQ(VFW_E_ENUM_OUT_OF_SYNC, pins->Next(1, got, &fetched));
    EXPECT_EQ(S_OK, pins->Reset());

    CComPtr<IPin> found;
    EXPECT_EQ(S_OK, m_sink->FindPin(L"In", &found));
    EXPECT_EQ(InPin(), found.Get());
    CComPtr<IPin> missing;
    EXPECT_EQ(VFW_E_NOT_FOUND, m_sink->FindPin(L"Out", &missing));

    CComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(S_OK, OutPin()->EnumMediaTypes(&types));
    AM_MEDIA_TYPE* mt[2] = {};
    ASSERT_EQ(S_FALSE, types->Next(2, mt, &fetched));
    ASSERT_EQ(1u, fetched);
    EXPECT_TRUE(mt[0]->subtype == MEDIASUBTYPE_MPEG2_TRANSPORT);
    EXPECT_EQ(S_OK, OutPin()->QueryAccept(mt[0]));
    mt[0]->majortype = MEDIATYPE_Video;
    EXPECT_EQ(S_FALSE, OutPin()->QueryAccept(mt[0]));
    dshow::DeleteMediaType(mt[0]);

    FILTER_INFO info;
    ASSERT_EQ(S_OK, m_sink->QueryFilterInfo(&info));
    EXPECT_STREQ(L"Sink", info.achName);
    EXPECT_NE(nullptr, info.pGraph);
    if (info.pGraph)
        info.pGraph->Release();
}

} // namespace
