#include "dshow/CEnumMediaTypes.h"

#include <new>

#include "dshow/CBasePin.h"
#include "dshow/MediaTypes.h"

namespace dshow {

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin, const CEnumMediaTypes* copyFrom)
    : m_pin(pin), m_version(copyFrom ? copyFrom->m_version : pin->GetMediaTypeVersion())
{
    if (copyFrom)
        m_position = copyFrom->m_position;
    static_cast<IPin*>(m_pin)->AddRef();
}

CEnumMediaTypes::~CEnumMediaTypes() { static_cast<IPin*>(m_pin)->Release(); }

bool CEnumMediaTypes::OutOfSync() const { return m_version != m_pin->GetMediaTypeVersion(); }

STDMETHODIMP CEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched)
{
    if (!types)
        return E_POINTER;
    if (count != 1 && !fetched)
        return E_INVALIDARG;
    if (fetched)
        *fetched = 0;
    if (OutOfSync())
        return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG got = 0;
    while (got < count) {
        CMediaType mt;
        if (m_pin->GetMediaType(m_position, &mt) != S_OK)
            break;
        ++m_position;
        AM_MEDIA_TYPE* copy = CreateMediaType(&mt);
        if (!copy)
            break;
        types[got++] = copy;
    }
    if (fetched)
        *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

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

STDMETHODIMP CEnumMediaTypes::Reset()
{
    m_version = m_pin->GetMediaTypeVersion();
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Clone(IEnumMediaTypes** clone)
{
    if (!clone)
        return E_POINTER;
    if (OutOfSync()) {
        *clone = nullptr;
        return VFW_E_ENUM_OUT_OF_SYNC;
    }
    auto* copy = new (std::nothrow) CEnumMediaTypes(m_pin, this);
    if (!copy) {
        *clone = nullptr;
        return E_OUTOFMEMORY;
    }
    *clone = copy;
    copy->AddRef();
    return S_OK;
}

} // namespace dshow
