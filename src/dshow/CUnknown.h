// The non-delegating IUnknown that every COM object of our filters builds on. An object made as
// part of an aggregate forwards its public IUnknown to the owner; on its own it is its own owner.
#pragma once

#include <unknwn.h>

namespace dshow {

struct INonDelegatingUnknown {
    virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;
};

class CUnknown : public INonDelegatingUnknown {
public:
    CUnknown(const wchar_t* objectName, IUnknown* owner);
    virtual ~CUnknown();
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
    ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

    IUnknown* GetOwner() const { return m_owner; }
    const wchar_t* GetObjectName() const { return m_objectName; }
    // Number of objects of this layer alive in the process; tests use it to find leaks.
    static LONG LiveObjects();

protected:
    volatile LONG m_refCount = 0;

private:
    const wchar_t* m_objectName;
    IUnknown* m_owner;
};

// Hands out an interface pointer with one reference, as QueryInterface promises.
HRESULT GetInterface(IUnknown* unknown, void** ppv);

} // namespace dshow

// The public IUnknown of a class deriving from CUnknown: forwarded to the owner.
#define DECLARE_IUNKNOWN                                                                           \
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override                                  \
    {                                                                                              \
        return GetOwner()->QueryInterface(riid, ppv);                                              \
    }                                                                                              \
    STDMETHODIMP_(ULONG) AddRef() override { return GetOwner()->AddRef(); }                        \
    STDMETHODIMP_(ULONG) Release() override { return GetOwner()->Release(); }
