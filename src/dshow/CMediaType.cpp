#include "dshow/CMediaType.h"

#include <cstring>

#include "dshow/MediaTypes.h"

namespace dshow {

CMediaType::CMediaType() { InitMediaType(); }

CMediaType::CMediaType(const GUID* majorType)
{
    InitMediaType();
    majortype = *majorType;
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& other)
{
    InitMediaType();
    Set(other);
}

CMediaType::CMediaType(const CMediaType& other) : AM_MEDIA_TYPE()
{
    InitMediaType();
    Set(other);
}

CMediaType::~CMediaType() { FreeMediaType(*this); }

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& other)
{
    Set(other);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& other)
{
    Set(other);
    return *this;
}

bool CMediaType::operator==(const CMediaType& other) const
{
    return majortype == other.majortype && subtype == other.subtype && formattype == other.formattype &&
           cbFormat == other.cbFormat && (cbFormat == 0 || std::memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& other)
{
    if (&other == this)
        return S_OK;
    FreeMediaType(*this);
    HRESULT hr = CopyMediaType(this, &other);
    if (FAILED(hr))
        InitMediaType();
    return hr;
}

void CMediaType::SetSampleSize(ULONG size)
{
    if (size == 0) {
        SetVariableSize();
    } else {
        bFixedSizeSamples = TRUE;
        lSampleSize = size;
    }
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length)
{
    ResetFormatBuffer();
    if (length == 0)
        return nullptr;
    pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (!pbFormat)
        return nullptr;
    std::memset(pbFormat, 0, length);
    cbFormat = length;
    return pbFormat;
}

BYTE* CMediaType::ReallocFormatBuffer(ULONG length)
{
    if (length == 0) {
        ResetFormatBuffer();
        return nullptr;
    }
    auto* block = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (!block)
        return nullptr;
    std::memset(block, 0, length);
    if (pbFormat)
        std::memcpy(block, pbFormat, cbFormat < length ? cbFormat : length);
    CoTaskMemFree(pbFormat);
    pbFormat = block;
    cbFormat = length;
    return pbFormat;
}

bool CMediaType::SetFormat(const BYTE* format, ULONG length)
{
    if (length && !format)
        return false;
    if (length == 0) {
        ResetFormatBuffer();
        return true;
    }
    if (!AllocFormatBuffer(length))
        return false;
    std::memcpy(pbFormat, format, length);
    return true;
}

void CMediaType::ResetFormatBuffer()
{
    CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
}

void CMediaType::InitMediaType()
{
    std::memset(static_cast<AM_MEDIA_TYPE*>(this), 0, sizeof(AM_MEDIA_TYPE));
    lSampleSize = 1;
    bFixedSizeSamples = TRUE;
}

bool CMediaType::MatchesPartial(const CMediaType* partial) const
{
    if (partial->majortype != GUID_NULL && partial->majortype != majortype)
        return false;
    if (partial->subtype != GUID_NULL && partial->subtype != subtype)
        return false;
    if (partial->formattype != GUID_NULL) {
        if (partial->formattype != formattype || partial->cbFormat != cbFormat)
            return false;
        if (cbFormat && std::memcmp(partial->pbFormat, pbFormat, cbFormat) != 0)
            return false;
    }
    return true;
}

bool CMediaType::IsPartiallySpecified() const
{
    return majortype == GUID_NULL || formattype == GUID_NULL;
}

} // namespace dshow
