// A small owning COM pointer: one counted reference, released when it goes away.
#pragma once

#include <unknwn.h>

namespace dshow {

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.m_p) {}
    CComPtr(CComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* p)
    {
        if (p)
            p->AddRef();
        Release();
        m_p = p;
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) { return *this = other.m_p; }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    void Release()
    {
        T* p = m_p;
        m_p = nullptr;
        if (p)
            p->Release();
    }
    // Takes over a reference the caller already owns.
    void Attach(T* p)
    {
        Release();
        m_p = p;
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    // For out-parameters: the pointer must be empty.
    T** operator&() { return &m_p; }
    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }
    T* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Replaces the held pointer with the source's answer for Q.
    template <class Q>
    HRESULT QueryFrom(Q* source)
    {
        Release();
        if (!source)
            return E_POINTER;
        return source->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&m_p));
    }
    HRESULT CoCreate(REFCLSID clsid, DWORD context = CLSCTX_INPROC_SERVER)
    {
        Release();
        return CoCreateInstance(clsid, nullptr, context, __uuidof(T), reinterpret_cast<void**>(&m_p));
    }

private:
    T* m_p = nullptr;
};

} // namespace dshow
