#include "dvb/libBDA/CBDADumperFilter.h"

#include "dvb/libBDA/CBDAConnectionPoint.h"
#include "dvb/libBDA/CBDAConnectionPointContainer.h"
#include "dvb/libBDA/CBDADumperPin.h"

namespace libBDA {

CBDADumperFilter::CBDADumperFilter(HRESULT* result)
    : CBaseFilter(L"BD Dumper", nullptr, &m_filterLock, CLSID_BDADumper, result),
      m_tuneRequestInfo(this),
      m_frequencyMap(this),
      m_stubA(this),
      m_stubB(this)
{
    m_pin = new CBDADumperPin(this, &m_filterLock, result);
    m_container = new CBDAConnectionPointContainer(GetOwner());
    m_container->Add(new CBDAConnectionPoint(GetOwner(), m_container, IID_BDADumperEventsA, true, &m_adviseNotify));
    m_container->Add(new CBDAConnectionPoint(GetOwner(), m_container, IID_BDADumperEventsB, true, &m_adviseNotify));
}

CBDADumperFilter::~CBDADumperFilter()
{
    delete m_container;
    delete m_pin;
}

STDMETHODIMP CBDADumperFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == __uuidof(ITuneRequestInfo))
        return dshow::GetInterface(&m_tuneRequestInfo, ppv);
    if (riid == __uuidof(IFrequencyMap))
        return dshow::GetInterface(&m_frequencyMap, ppv);
    if (riid == IID_BDADumperStubA)
        return dshow::GetInterface(&m_stubA, ppv);
    if (riid == IID_BDADumperStubB)
        return dshow::GetInterface(&m_stubB, ppv);
    if (riid == IID_IConnectionPointContainer)
        return dshow::GetInterface(static_cast<IConnectionPointContainer*>(m_container), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

dshow::CBasePin* CBDADumperFilter::GetPin(int index) { return index == 0 ? m_pin : nullptr; }

void CBDADumperFilter::SetCallback(CBDADumperCallback* callback) { m_pin->SetCallback(callback); }

// The stubs share the filter's identity: every query and count goes to its owner.
#define BDA_DUMPER_STUB_IUNKNOWN(Class)                                                            \
    STDMETHODIMP CBDADumperFilter::Class::QueryInterface(REFIID riid, void** ppv)                  \
    {                                                                                              \
        return m_filter->GetOwner()->QueryInterface(riid, ppv);                                    \
    }                                                                                              \
    STDMETHODIMP_(ULONG) CBDADumperFilter::Class::AddRef() { return m_filter->GetOwner()->AddRef(); } \
    STDMETHODIMP_(ULONG) CBDADumperFilter::Class::Release() { return m_filter->GetOwner()->Release(); }

BDA_DUMPER_STUB_IUNKNOWN(CTuneRequestInfo)
BDA_DUMPER_STUB_IUNKNOWN(CFrequencyMap)
BDA_DUMPER_STUB_IUNKNOWN(CStubA)
BDA_DUMPER_STUB_IUNKNOWN(CStubB)

#undef BDA_DUMPER_STUB_IUNKNOWN

HRESULT CBDADumperFilter::CTuneRequestInfo::EchoCurrent(ITuneRequest* current, ITuneRequest** request)
{
    if (!request)
        return E_POINTER;
    *request = current;
    if (current)
        current->AddRef();
    return E_NOTIMPL;
}

STDMETHODIMP CBDADumperFilter::CTuneRequestInfo::GetNextProgram(ITuneRequest* current, ITuneRequest** request)
{
    return EchoCurrent(current, request);
}

STDMETHODIMP CBDADumperFilter::CTuneRequestInfo::GetPreviousProgram(ITuneRequest* current, ITuneRequest** request)
{
    return EchoCurrent(current, request);
}

STDMETHODIMP CBDADumperFilter::CTuneRequestInfo::GetNextLocator(ITuneRequest* current, ITuneRequest** request)
{
    return EchoCurrent(current, request);
}

STDMETHODIMP CBDADumperFilter::CTuneRequestInfo::GetPreviousLocator(ITuneRequest* current, ITuneRequest** request)
{
    return EchoCurrent(current, request);
}

} // namespace libBDA
