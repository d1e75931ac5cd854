// The sink filter at the end of every BDA graph. Besides passing the tuner's buffers to a
// callback it answers, with stubs, the interfaces a network provider looks for on a
// transport-information filter, and offers connection points, so that the provider accepts its
// pin in RegisterTIFEx. It is created with new, never registered with the system.
#pragma once

#include <bdaiface.h>

#include "dshow/CBaseFilter.h"
#include "dshow/CCritSec.h"
#include "dvb/libBDA/BDADeclarations.h"
#include "dvb/libBDA/CBDADumperCallback.h"
#include "dvb/libBDA/IBDAAdviseNotify.h"

namespace libBDA {

class CBDAConnectionPointContainer;
class CBDADumperPin;

// {BA6827DA-6EEA-4CD6-9482-E037EBBB6F00}
static const GUID CLSID_BDADumper = {0xba6827da, 0x6eea, 0x4cd6, {0x94, 0x82, 0xe0, 0x37, 0xeb, 0xbb, 0x6f, 0x00}};
// The two stub interfaces a provider probes for besides ITuneRequestInfo and IFrequencyMap.
static const GUID IID_BDADumperStubA = {0xabba0018, 0x3075, 0x11d6, {0x88, 0xa4, 0x00, 0xb0, 0xd0, 0x20, 0x0f, 0x88}};
static const GUID IID_BDADumperStubB = {0xd749e960, 0x0c9f, 0x11d3, {0x8f, 0xf2, 0x00, 0xa0, 0xc9, 0x22, 0x4c, 0xf4}};
// The interface ids of the dumper's two connection points.
static const GUID IID_BDADumperEventsA = {0x7d051060, 0x2e41, 0x11d2, {0x8f, 0xda, 0x00, 0xa0, 0xc9, 0x22, 0x4c, 0xf4}};
static const GUID IID_BDADumperEventsB = {0x7d051061, 0x2e41, 0x11d2, {0x8f, 0xda, 0x00, 0xa0, 0xc9, 0x22, 0x4c, 0xf4}};

// Layout of the five-operation stub: four operations without arguments, one with one.
struct IBDADumperStubB : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Operation1() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation2() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Operation5(void* argument) = 0;
};

class CBDADumperFilter : public dshow::CBaseFilter {
public:
    explicit CBDADumperFilter(HRESULT* result);
    ~CBDADumperFilter() override;

    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int index) override;

    void SetCallback(CBDADumperCallback* callback);
    CBDADumperPin* InputPin() const { return m_pin; }

private:
    // Each stub is a separate sub-object whose reference count is the filter's.
    class CTuneRequestInfo : public ITuneRequestInfo {
    public:
        explicit CTuneRequestInfo(CBDADumperFilter* filter) : m_filter(filter) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP GetLocatorData(ITuneRequest*) override { return S_FALSE; }
        STDMETHODIMP GetComponentData(ITuneRequest*) override { return S_FALSE; }
        STDMETHODIMP CreateComponentList(ITuneRequest*) override { return S_FALSE; }
        STDMETHODIMP GetNextProgram(ITuneRequest* current, ITuneRequest** request) override;
        STDMETHODIMP GetPreviousProgram(ITuneRequest* current, ITuneRequest** request) override;
        STDMETHODIMP GetNextLocator(ITuneRequest* current, ITuneRequest** request) override;
        STDMETHODIMP GetPreviousLocator(ITuneRequest* current, ITuneRequest** request) override;

    private:
        HRESULT EchoCurrent(ITuneRequest* current, ITuneRequest** request);
        CBDADumperFilter* m_filter;
    };

    class CFrequencyMap : public IFrequencyMap {
    public:
        explicit CFrequencyMap(CBDADumperFilter* filter) : m_filter(filter) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP get_FrequencyMapping(ULONG*, ULONG**) override { return S_FALSE; }
        STDMETHODIMP put_FrequencyMapping(ULONG, ULONG[]) override { return S_FALSE; }
        STDMETHODIMP get_CountryCode(ULONG*) override { return S_FALSE; }
        STDMETHODIMP put_CountryCode(ULONG) override { return S_FALSE; }
        STDMETHODIMP get_DefaultFrequencyMapping(ULONG, ULONG*, ULONG**) override { return S_FALSE; }
        STDMETHODIMP get_CountryCodeList(ULONG*, ULONG**) override { return S_FALSE; }

    private:
        CBDADumperFilter* m_filter;
    };

    class CStubA : public IUnknown {
    public:
        explicit CStubA(CBDADumperFilter* filter) : m_filter(filter) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        CBDADumperFilter* m_filter;
    };

    class CStubB : public IBDADumperStubB {
    public:
        explicit CStubB(CBDADumperFilter* filter) : m_filter(filter) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP Operation1() override { return S_FALSE; }
        STDMETHODIMP Operation2() override { return S_FALSE; }
        STDMETHODIMP Operation3() override { return S_FALSE; }
        STDMETHODIMP Operation4() override { return S_FALSE; }
        STDMETHODIMP Operation5(void*) override { return S_OK; }

    private:
        CBDADumperFilter* m_filter;
    };

    class CAdviseNotify : public IBDAAdviseNotify {
    public:
        void OnAdvise(IUnknown*, bool) override {}
    };

    CTuneRequestInfo m_tuneRequestInfo;
    CFrequencyMap m_frequencyMap;
    CStubA m_stubA;
    CStubB m_stubB;
    CAdviseNotify m_adviseNotify;
    CBDAConnectionPointContainer* m_container = nullptr;
    CBDADumperPin* m_pin = nullptr;
    dshow::CCritSec m_filterLock;
};

} // namespace libBDA
