#include "dshow/CEnumMediaTypes.h"

#include <new>

#include "dshow/CBasePin.h"
#include "dshow/MediaTypes.h"

namespace dshow {

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin, const CEnumMediaTypes* copyFrom)
    : CEnumByPosition(copyFrom ? copyFrom->m_version : pin->GetMediaTypeVersion(),
                      copyFrom ? copyFrom->m_position : 0),
      m_pin(pin)
{
    static_cast<IPin*>(m_pin)->AddRef();
}

CEnumMediaTypes::~CEnumMediaTypes() { static_cast<IPin*>(m_pin)->Release(); }

LONG CEnumMediaTypes::CurrentVersion() const { return m_pin->GetMediaTypeVersion(); }

bool CEnumMediaTypes::FetchNext(AM_MEDIA_TYPE** type)
{
    CMediaType mt;
    if (m_pin->GetMediaType(m_position, &mt) != S_OK)
        return false;
    ++m_position;
    AM_MEDIA_TYPE* copy = CreateMediaType(&mt);
    if (!copy)
        return false;
    *type = copy;
    return true;
}

IEnumMediaTypes* CEnumMediaTypes::Copy() const { return new (std::nothrow) CEnumMediaTypes(m_pin, this); }

STDMETHODIMP CEnumMediaTypes::Skip(ULONG count)
{
    if (OutOfSync())
        return VFW_E_ENUM_OUT_OF_SYNC;
    while (count > 0) {
        CMediaType mt;
        if (m_pin->GetMediaType(m_position, &mt) != S_OK)
            return S_FALSE;
        ++m_position;
        --count;
    }
    return S_OK;
}

} // namespace dshow
