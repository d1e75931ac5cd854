// The BD Dumper on its own: the stub interfaces a network provider probes, the connection points
// and their cookies, and the pin that hands every buffer over whatever the filter's state.
#include <gtest/gtest.h>

#include <olectl.h>

#include "TestDumpRecorder.h"
#include "dshow/CComPtr.h"
#include "dshow/CMemAllocator.h"
#include "dshow/CUnknown.h"
#include "dvb/libBDA/CBDADumperFilter.h"
#include "dvb/libBDA/CBDADumperPin.h"

using dshow::CComPtr;

namespace {

// A sink object that only counts its references.
class CCountingSink : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }
    ULONG m_refs = 1;
};

class BDADumperFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        m_baseline = dshow::CUnknown::LiveObjects();
        HRESULT hr = E_FAIL;
        m_dumper = new libBDA::CBDADumperFilter(&hr);
        ASSERT_EQ(S_OK, hr);
        m_filter = static_cast<IBaseFilter*>(m_dumper);
    }
    void TearDown() override
    {
        m_filter.Release();
        EXPECT_EQ(m_baseline, dshow::CUnknown::LiveObjects());
        CoUninitialize();
    }
    IPin* Pin() { return static_cast<IPin*>(m_dumper->InputPin()); }

    LONG m_baseline = 0;
    libBDA::CBDADumperFilter* m_dumper = nullptr;
    CComPtr<IBaseFilter> m_filter;
};

TEST_F(BDADumperFilterTest, StubsShareTheFilterIdentity)
{
    CComPtr<IUnknown> identity;
    ASSERT_EQ(S_OK, m_filter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    const IID stubs[] = {__uuidof(ITuneRequestInfo), __uuidof(IFrequencyMap), libBDA::IID_BDADumperStubA,
                         libBDA::IID_BDADumperStubB, IID_IConnectionPointContainer};
    for (const IID& iid : stubs) {
        IUnknown* stub = nullptr;
        ASSERT_EQ(S_OK, m_filter->QueryInterface(iid, reinterpret_cast<void**>(&stub)));
        CComPtr<IUnknown> back;
        ASSERT_EQ(S_OK, stub->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&back)));
        EXPECT_EQ(identity.Get(), back.Get());
        // The stub counts on the filter: one more here is one more there.
        ULONG before = m_filter->AddRef();
        ULONG viaStub = stub->AddRef();
        EXPECT_EQ(before + 1, viaStub);
        stub->Release();
        m_filter->Release();
        stub->Release();
    }
    CLSID clsid;
    ASSERT_EQ(S_OK, m_filter->GetClassID(&clsid));
    EXPECT_TRUE(clsid == libBDA::CLSID_BDADumper);
    IUnknown* none = nullptr;
    EXPECT_EQ(E_NOINTERFACE, m_filter->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&none)));
}

TEST_F(BDADumperFilterTest, StubOperationsAnswerAsProvidersExpect)
{
    CComPtr<ITuneRequestInfo> info;
    ASSERT_EQ(S_OK, info.QueryFrom(m_filter.Get()));
    EXPECT_EQ(S_FALSE, info->GetLocatorData(nullptr));
    EXPECT_EQ(S_FALSE, info->GetComponentData(nullptr));
    EXPECT_EQ(S_FALSE, info->CreateComponentList(nullptr));
    // The current request comes back with a reference added; null stays null.
    CCountingSink fake;
    auto* current = reinterpret_cast<ITuneRequest*>(static_cast<IUnknown*>(&fake));
    ITuneRequest* out = nullptr;
    EXPECT_EQ(E_NOTIMPL, info->GetNextProgram(current, &out));
    EXPECT_EQ(current, out);
    EXPECT_EQ(2u, fake.m_refs);
    EXPECT_EQ(E_NOTIMPL, info->GetPreviousLocator(current, &out));
    EXPECT_EQ(3u, fake.m_refs);
    out = current;
    EXPECT_EQ(E_NOTIMPL, info->GetPreviousProgram(nullptr, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_NOTIMPL, info->GetNextLocator(nullptr, &out));
    EXPECT_EQ(E_POINTER, info->GetNextLocator(current, nullptr));

    CComPtr<IFrequencyMap> map;
    ASSERT_EQ(S_OK, map.QueryFrom(m_filter.Get()));
    ULONG count = 77, code = 78;
    ULONG* list = reinterpret_cast<ULONG*>(0x1234);
    EXPECT_EQ(S_FALSE, map->get_FrequencyMapping(&count, &list));
    EXPECT_EQ(S_FALSE, map->get_CountryCode(&code));
    EXPECT_EQ(S_FALSE, map->put_CountryCode(1));
    EXPECT_EQ(S_FALSE, map->put_FrequencyMapping(0, nullptr));
    EXPECT_EQ(S_FALSE, map->get_DefaultFrequencyMapping(1, &count, &list));
    EXPECT_EQ(S_FALSE, map->get_CountryCodeList(&count, &list));
    EXPECT_EQ(77u, count);
    EXPECT_EQ(78u, code);
    EXPECT_EQ(reinterpret_cast<ULONG*>(0x1234), list);

    libBDA::IBDADumperStubB* five = nullptr;
    ASSERT_EQ(S_OK, m_filter->QueryInterface(libBDA::IID_BDADumperStubB, reinterpret_cast<void**>(&five)));
    EXPECT_EQ(S_FALSE, five->Operation1());
    EXPECT_EQ(S_FALSE, five->Operation2());
    EXPECT_EQ(S_FALSE, five->Operation3());
    EXPECT_EQ(S_FALSE, five->Operation4());
    EXPECT_EQ(S_OK, five->Operation5(nullptr));
    five->Release();
}

TEST_F(BDADumperFilterTest, ConnectionPointsHandOutAndReuseCookies)
{
    CComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, container.QueryFrom(m_filter.Get()));
    CComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(S_OK, container->EnumConnectionPoints(&points));
    IConnectionPoint* got[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, points->Next(3, got, &fetched));
    ASSERT_EQ(2u, fetched);
    IID first, second;
    got[0]->GetConnectionInterface(&first);
    got[1]->GetConnectionInterface(&second);
    EXPECT_TRUE(first == libBDA::IID_BDADumperEventsA);
    EXPECT_TRUE(second == libBDA::IID_BDADumperEventsB);
    CComPtr<IConnectionPointContainer> owner;
    ASSERT_EQ(S_OK, got[1]->GetConnectionPointContainer(&owner));
    EXPECT_EQ(container.Get(), owner.Get());
    got[0]->Release();
    got[1]->Release();
    EXPECT_EQ(S_FALSE, points->Skip(1));
    EXPECT_EQ(S_OK, points->Reset());
    EXPECT_EQ(S_OK, points->Skip(2));

    CComPtr<IConnectionPoint> point;
    IConnectionPoint* missing = reinterpret_cast<IConnectionPoint*>(1);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IUnknown, &missing));
    EXPECT_EQ(nullptr, missing);
    ASSERT_EQ(S_OK, container->FindConnectionPoint(libBDA::IID_BDADumperEventsB, &point));

    CCountingSink a, b, c;
    DWORD cookieA = 0, cookieB = 0, cookieC = 0;
    ASSERT_EQ(S_OK, point->Advise(&a, &cookieA));
    ASSERT_EQ(S_OK, point->Advise(&b, &cookieB));
    EXPECT_EQ(1u, cookieA);
    EXPECT_EQ(2u, cookieB);
    EXPECT_EQ(2u, a.m_refs);
    EXPECT_EQ(S_OK, point->Unadvise(1));
    EXPECT_EQ(1u, a.m_refs);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(1));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(0));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(3));
    ASSERT_EQ(S_OK, point->Advise(&c, &cookieC));
    EXPECT_EQ(1u, cookieC);

    CComPtr<IEnumConnections> connections;
    ASSERT_EQ(S_OK, point->EnumConnections(&connections));
    CONNECTDATA data[3] = {};
    EXPECT_EQ(S_FALSE, connections->Next(3, data, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(&c, data[0].pUnk);
    EXPECT_EQ(1u, data[0].dwCookie);
    EXPECT_EQ(&b, data[1].pUnk);
    EXPECT_EQ(2u, data[1].dwCookie);
    data[0].pUnk->Release();
    data[1].pUnk->Release();
    connections.Release();
    point.Release();
    owner.Release();
    points.Release();
    container.Release();

    // Destroying the filter releases the sinks it still holds.
    m_filter.Release();
    EXPECT_EQ(1u, b.m_refs);
    EXPECT_EQ(1u, c.m_refs);
}

TEST_F(BDADumperFilterTest, EveryBufferReachesTheCallbackInAnyState)
{
    test::CTestDumpRecorder recorder;
    m_dumper->SetCallback(&recorder);
    CComPtr<IEnumPins> pins;
    ASSERT_EQ(S_OK, m_filter->EnumPins(&pins));
    IPin* pin[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, pins->Next(2, pin, &fetched));
    ASSERT_EQ(1u, fetched);
    EXPECT_EQ(Pin(), pin[0]);
    pin[0]->Release();
    PIN_INFO info;
    ASSERT_EQ(S_OK, Pin()->QueryPinInfo(&info));
    EXPECT_STREQ(L"Input", info.achName);
    EXPECT_EQ(PINDIR_INPUT, info.dir);
    info.pFilter->Release();
    AM_MEDIA_TYPE anything = {};
    anything.majortype = MEDIATYPE_Video;
    EXPECT_EQ(S_OK, Pin()->QueryAccept(&anything));

    CComPtr<IMemInputPin> input;
    ASSERT_EQ(S_OK, input.QueryFrom(Pin()));
    EXPECT_EQ(S_FALSE, input->ReceiveCanBlock());
    CComPtr<IMemAllocator> allocator;
    allocator.Attach(dshow::CMemAllocator::CreateInstance());
    ALLOCATOR_PROPERTIES request = {2, 300, 1, 0}, actual;
    ASSERT_EQ(S_OK, allocator->SetProperties(&request, &actual));
    ASSERT_EQ(S_OK, allocator->Commit());

    IMediaSample* sample = nullptr;
    ASSERT_EQ(S_OK, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
    BYTE* p = nullptr;
    sample->GetPointer(&p);
    for (int i = 0; i < 300; ++i)
        p[i] = static_cast<BYTE>(i);
    sample->SetActualDataLength(300);
    // Stopped filter, then flushing: the pin hands the buffer over regardless.
    EXPECT_EQ(S_OK, input->Receive(sample));
    Pin()->BeginFlush();
    sample->SetActualDataLength(17);
    EXPECT_EQ(S_OK, input->Receive(sample));
    Pin()->EndFlush();
    sample->SetActualDataLength(0);
    EXPECT_EQ(S_OK, input->Receive(sample));
    sample->Release();

    EXPECT_EQ(3u, recorder.Calls());
    EXPECT_EQ(1u, recorder.EmptyCalls());
    auto bytes = recorder.Bytes();
    ASSERT_EQ(317u, bytes.size());
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(static_cast<uint8_t>(i), bytes[i]);
    for (int i = 0; i < 17; ++i)
        ASSERT_EQ(static_cast<uint8_t>(i), bytes[300 + i]);
    allocator->Decommit();
}

} // namespace
