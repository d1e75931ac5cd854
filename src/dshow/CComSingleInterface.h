// Reference counting and QueryInterface for a small COM object that exposes one interface
// (enumerators and the like); the object deletes itself with its last reference.
#pragma once

#include <windows.h>

namespace dshow {

template <class Interface, const IID* Iid>
class CComSingleInterface : public Interface {
public:
    virtual ~CComSingleInterface() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == *Iid) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refCount)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG count = InterlockedDecrement(&m_refCount);
        if (count == 0)
            delete this;
        return static_cast<ULONG>(count);
    }

private:
    volatile LONG m_refCount = 0;
};

} // namespace dshow
