#include "dshow/CUnknown.h"

namespace dshow {

namespace {
volatile LONG g_liveObjects = 0;
}

CUnknown::CUnknown(const wchar_t* objectName, IUnknown* owner)
    : m_objectName(objectName),
      // Without an owner the object is its own: its public IUnknown is its non-delegating one. The
      // cast goes through the INonDelegatingUnknown layout, which matches IUnknown's three slots.
      m_owner(owner ? owner : reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this)))
{
    InterlockedIncrement(&g_liveObjects);
}

CUnknown::~CUnknown() { InterlockedDecrement(&g_liveObjects); }

LONG CUnknown::LiveObjects() { return g_liveObjects; }

HRESULT STDMETHODCALLTYPE CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown)
        return GetInterface(reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this)), ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CUnknown::NonDelegatingAddRef()
{
    LONG count = InterlockedIncrement(&m_refCount);
    return static_cast<ULONG>(count > 1 ? count : 1);
}

ULONG STDMETHODCALLTYPE CUnknown::NonDelegatingRelease()
{
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) {
        // Guard against a destructor that takes and drops a reference to itself.
        m_refCount = 1;
        delete this;
        return 0;
    }
    return static_cast<ULONG>(count > 1 ? count : 1);
}

HRESULT GetInterface(IUnknown* unknown, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = unknown;
    unknown->AddRef();
    return S_OK;
}

} // namespace dshow
