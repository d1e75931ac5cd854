#include "dshow/CEnumPins.h"

#include <new>

#include "dshow/CBasePin.h"

namespace dshow {

CEnumPins::CEnumPins(CBaseFilter* filter, const CEnumPins* copyFrom)
    : m_filter(filter), m_version(copyFrom ? copyFrom->m_version : filter->GetPinVersion())
{
    if (copyFrom)
        m_position = copyFrom->m_position;
    m_filter->AddRef();
}

CEnumPins::~CEnumPins() { m_filter->Release(); }

STDMETHODIMP CEnumPins::Next(ULONG count, IPin** pins, ULONG* fetched)
{
    if (!pins)
        return E_POINTER;
    if (count != 1 && !fetched)
        return E_INVALIDARG;
    if (fetched)
        *fetched = 0;
    if (OutOfSync())
        return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG got = 0;
    int total = m_filter->GetPinCount();
    while (got < count && m_position < total) {
        CBasePin* pin = m_filter->GetPin(m_position++);
        if (!pin)
            continue;
        pins[got] = static_cast<IPin*>(pin);
        pins[got]->AddRef();
        ++got;
    }
    if (fetched)
        *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumPins::Skip(ULONG count)
{
    if (OutOfSync())
        return VFW_E_ENUM_OUT_OF_SYNC;
    int total = m_filter->GetPinCount();
    if (static_cast<LONGLONG>(m_position) + count > total) {
        m_position = total;
        return S_FALSE;
    }
    m_position += static_cast<int>(count);
    return S_OK;
}

STDMETHODIMP CEnumPins::Reset()
{
    m_version = m_filter->GetPinVersion();
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumPins::Clone(IEnumPins** clone)
{
    if (!clone)
        return E_POINTER;
    if (OutOfSync()) {
        *clone = nullptr;
        return VFW_E_ENUM_OUT_OF_SYNC;
    }
    auto* copy = new (std::nothrow) CEnumPins(m_filter, this);
    if (!copy) {
        *clone = nullptr;
        return E_OUTOFMEMORY;
    }
    *clone = copy;
    copy->AddRef();
    return S_OK;
}

} // namespace dshow
