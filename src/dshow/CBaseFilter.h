// IBaseFilter for our filters: the state machine stopped/paused/running shared with the pins, the
// reference clock, graph membership and the pin enumeration. Subclasses say how many pins they
// have and hand them out by index; the filter lock is theirs and is given to us.
#pragma once

#include <string>

#include "dshow/CCritSec.h"
#include "dshow/CUnknown.h"
#include "dshow/DShow.h"

namespace dshow {

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter {
public:
    CBaseFilter(const wchar_t* name, IUnknown* owner, CCritSec* lock, REFCLSID clsid, HRESULT* result = nullptr);
    ~CBaseFilter() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPersist
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD milliseconds, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int index) = 0;
    // Bumped whenever the set of pins changes, so open enumerators report being out of sync.
    virtual LONG GetPinVersion() { return m_pinVersion; }
    void IncrementPinVersion() { InterlockedIncrement(&m_pinVersion); }

    bool IsStopped() const { return m_state == State_Stopped; }
    bool IsActive() const { return m_state != State_Stopped; }
    FILTER_STATE State() const { return m_state; }
    IFilterGraph* GetFilterGraph() const { return m_graph; }
    // Sends an event to the graph's event sink; E_NOTIMPL when the graph has none.
    HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

protected:
    CCritSec* m_lock;
    FILTER_STATE m_state = State_Stopped;
    IReferenceClock* m_clock = nullptr; // one reference
    REFERENCE_TIME m_start = 0;
    CLSID m_clsid;
    // The graph holds us; we do not hold it back (no reference), as the contract asks.
    IFilterGraph* m_graph = nullptr;
    IMediaEventSink* m_sink = nullptr;
    std::wstring m_name;
    volatile LONG m_pinVersion = 1;
};

} // namespace dshow
