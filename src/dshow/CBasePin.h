// IPin for our filters: connection (media-type agreement, both sides of the handshake),
// disconnection, and the segment values. A pin lives inside its filter and shares its reference
// count, so an IPin handed out keeps the whole filter alive.
#pragma once

#include <string>

#include "dshow/CBaseFilter.h"
#include "dshow/CCritSec.h"
#include "dshow/CMediaType.h"
#include "dshow/CUnknown.h"

namespace dshow {

class CBasePin : public CUnknown, public IPin {
public:
    CBasePin(const wchar_t* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result, const wchar_t* name,
             PIN_DIRECTION direction);
    ~CBasePin() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override = 0;
    STDMETHODIMP EndFlush() override = 0;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // What subclasses decide.
    virtual HRESULT CheckMediaType(const CMediaType* mt) = 0;
    virtual HRESULT SetMediaType(const CMediaType* mt);
    virtual HRESULT CheckConnect(IPin* pin);
    virtual HRESULT BreakConnect();
    virtual HRESULT CompleteConnect(IPin* receivePin);
    // The preferred types, 0 first; VFW_S_NO_MORE_ITEMS past the last.
    virtual HRESULT GetMediaType(int position, CMediaType* mt);
    virtual LONG GetMediaTypeVersion() { return m_typeVersion; }
    // State changes pushed down by the filter, under the filter lock.
    virtual HRESULT Active() { return S_OK; }
    virtual HRESULT Inactive() { return S_OK; }
    virtual HRESULT Run(REFERENCE_TIME) { return S_OK; }

    bool IsConnected() const { return m_connected != nullptr; }
    IPin* GetConnected() const { return m_connected; }
    bool IsStopped() const { return m_filter->IsStopped(); }
    const std::wstring& Name() const { return m_name; }
    const CMediaType& CurrentMediaType() const { return m_mt; }
    CBaseFilter* Filter() const { return m_filter; }

protected:
    HRESULT AgreeMediaType(IPin* receivePin, const CMediaType* mt);
    HRESULT AttemptConnection(IPin* receivePin, const CMediaType* mt);
    HRESULT TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types);
    HRESULT DisconnectInternal();

    CBaseFilter* m_filter;
    CCritSec* m_lock;
    std::wstring m_name;
    PIN_DIRECTION m_direction;
    IPin* m_connected = nullptr; // one reference while connected
    CMediaType m_mt;
    REFERENCE_TIME m_segmentStart = 0;
    REFERENCE_TIME m_segmentStop = 0x7FFFFFFFFFFFFFFFLL;
    double m_rate = 1.0;
    LONG m_typeVersion = 1;
};

} // namespace dshow
