// Base of the BD Dumper's connection enumerators: a copy of the list taken when the enumerator is
// made, walked by position; each item handed out carries a reference for the caller. It holds the
// owner, which keeps the listed objects alive, for its lifetime.
#pragma once

#include "dshow/CComSingleInterface.h"

#include <ocidl.h>
#include <new>
#include <vector>

namespace libBDA {

inline void AddRefEnumerated(IConnectionPoint* point) { point->AddRef(); }
inline void AddRefEnumerated(const CONNECTDATA& connection) { connection.pUnk->AddRef(); }

template <class Derived, class Interface, const IID* Iid, class Item>
class CEnumBDASnapshot : public dshow::CComSingleInterface<Interface, Iid> {
public:
    STDMETHODIMP Next(ULONG count, Item* items, ULONG* fetched) override
    {
        if (!items)
            return E_POINTER;
        ULONG got = 0;
        while (got < count && m_position < m_items.size()) {
            items[got] = m_items[m_position++];
            AddRefEnumerated(items[got]);
            ++got;
        }
        if (fetched)
            *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }

    STDMETHODIMP Skip(ULONG count) override
    {
        size_t left = m_items.size() - m_position;
        if (count > left) {
            m_position = m_items.size();
            return S_FALSE;
        }
        m_position += count;
        return S_OK;
    }

    STDMETHODIMP Reset() override
    {
        m_position = 0;
        return S_OK;
    }

    STDMETHODIMP Clone(Interface** clone) override
    {
        if (!clone)
            return E_POINTER;
        auto* copy = new (std::nothrow) Derived(m_owner, m_items, m_position);
        *clone = copy;
        if (!copy)
            return E_OUTOFMEMORY;
        copy->AddRef();
        return S_OK;
    }

protected:
    CEnumBDASnapshot(IUnknown* owner, const std::vector<Item>& items, size_t position)
        : m_owner(owner), m_items(items), m_position(position)
    {
        m_owner->AddRef();
    }
    ~CEnumBDASnapshot() override { m_owner->Release(); }

    IUnknown* m_owner;
    std::vector<Item> m_items;
    size_t m_position;
};

} // namespace libBDA
