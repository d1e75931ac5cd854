#include "dshow/CEnumPins.h"

#include <new>

#include "dshow/CBasePin.h"

namespace dshow {

CEnumPins::CEnumPins(CBaseFilter* filter, const CEnumPins* copyFrom)
    : CEnumByPosition(copyFrom ? copyFrom->m_version : filter->GetPinVersion(), copyFrom ? copyFrom->m_position : 0),
      m_filter(filter)
{
    m_filter->AddRef();
}

CEnumPins::~CEnumPins() { m_filter->Release(); }

bool CEnumPins::FetchNext(IPin** pin)
{
    // A gap in the filter's pins is passed over.
    const int total = m_filter->GetPinCount();
    while (m_position < total) {
        if (CBasePin* found = m_filter->GetPin(m_position++)) {
            *pin = static_cast<IPin*>(found);
            (*pin)->AddRef();
            return true;
        }
    }
    return false;
}

IEnumPins* CEnumPins::Copy() const { return new (std::nothrow) CEnumPins(m_filter, this); }

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

} // namespace dshow
