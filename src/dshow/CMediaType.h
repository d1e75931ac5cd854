// An AM_MEDIA_TYPE that owns its format block: copies are deep, and the block is freed with it.
#pragma once

#include "dshow/DShow.h"

namespace dshow {

class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    explicit CMediaType(const GUID* majorType);
    CMediaType(const AM_MEDIA_TYPE& other);
    CMediaType(const CMediaType& other);
    ~CMediaType();

    CMediaType& operator=(const AM_MEDIA_TYPE& other);
    CMediaType& operator=(const CMediaType& other);
    bool operator==(const CMediaType& other) const;
    bool operator!=(const CMediaType& other) const { return !(*this == other); }

    HRESULT Set(const AM_MEDIA_TYPE& other);
    bool IsValid() const { return majortype != GUID_NULL; }
    const GUID* Type() const { return &majortype; }
    const GUID* Subtype() const { return &subtype; }
    const GUID* FormatType() const { return &formattype; }
    ULONG FormatLength() const { return cbFormat; }
    BYTE* Format() const { return pbFormat; }

    void SetType(const GUID* type) { majortype = *type; }
    void SetSubtype(const GUID* type) { subtype = *type; }
    void SetFormatType(const GUID* type) { formattype = *type; }
    void SetSampleSize(ULONG size);
    void SetVariableSize() { bFixedSizeSamples = FALSE; }
    void SetTemporalCompression(BOOL compressed) { bTemporalCompression = compressed; }
    ULONG GetSampleSize() const { return IsFixedSize() ? lSampleSize : 0; }
    bool IsFixedSize() const { return bFixedSizeSamples != FALSE; }
    bool IsTemporalCompressed() const { return bTemporalCompression != FALSE; }

    // Replaces the format block by a zeroed one of the given length; null when memory runs out.
    BYTE* AllocFormatBuffer(ULONG length);
    // Grows or shrinks the block, keeping what fits.
    BYTE* ReallocFormatBuffer(ULONG length);
    bool SetFormat(const BYTE* format, ULONG length);
    void ResetFormatBuffer();
    void InitMediaType();

    // Wildcards (GUID_NULL) in this type match anything in the other; the format must be equal
    // when this type names a format type.
    bool MatchesPartial(const CMediaType* partial) const;
    bool IsPartiallySpecified() const;
};

} // namespace dshow
