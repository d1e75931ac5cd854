// Base of the enumerators that walk a list by position (a filter's pins, a pin's preferred media
// types): the position, and the version of the list the enumerator was made or reset for, so
// that it reports VFW_E_ENUM_OUT_OF_SYNC once the list changed. Next, Reset and Clone are alike
// for every list; the enumerator says how the next item is fetched, how it skips and copies.
#pragma once

#include "dshow/CComSingleInterface.h"

#include "dshow/DShow.h"

namespace dshow {

template <class Interface, const IID* Iid, class Item>
class CEnumByPosition : public CComSingleInterface<Interface, Iid> {
public:
    STDMETHODIMP Next(ULONG count, Item* items, ULONG* fetched) override
    {
        if (!items)
            return E_POINTER;
        if (count != 1 && !fetched)
            return E_INVALIDARG;
        if (fetched)
            *fetched = 0;
        if (OutOfSync())
            return VFW_E_ENUM_OUT_OF_SYNC;
        ULONG got = 0;
        while (got < count && FetchNext(&items[got]))
            ++got;
        if (fetched)
            *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }

    STDMETHODIMP Reset() override
    {
        m_version = CurrentVersion();
        m_position = 0;
        return S_OK;
    }

    STDMETHODIMP Clone(Interface** clone) override
    {
        if (!clone)
            return E_POINTER;
        if (OutOfSync()) {
            *clone = nullptr;
            return VFW_E_ENUM_OUT_OF_SYNC;
        }
        Interface* copy = Copy();
        if (!copy) {
            *clone = nullptr;
            return E_OUTOFMEMORY;
        }
        *clone = copy;
        copy->AddRef();
        return S_OK;
    }

protected:
    CEnumByPosition(LONG version, int position) : m_position(position), m_version(version) {}

    // The list's version now.
    virtual LONG CurrentVersion() const = 0;
    // The item at the position, with a reference or an allocation for the caller, the position
    // moved past it; false at the end of the list.
    virtual bool FetchNext(Item* item) = 0;
    // A new enumerator at the same position and version, or null when there is no memory.
    virtual Interface* Copy() const = 0;

    bool OutOfSync() const { return m_version != CurrentVersion(); }

    int m_position;
    LONG m_version;
};

} // namespace dshow
