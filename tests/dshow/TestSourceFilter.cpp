#include "dshow/TestSourceFilter.h"

namespace test {

// {6E0B5A2C-0D44-4F0A-9B1E-6A3C1D2E4F01}
static const GUID kTestSourceClsid = {0x6e0b5a2c, 0x0d44, 0x4f0a, {0x9b, 0x1e, 0x6a, 0x3c, 0x1d, 0x2e, 0x4f, 0x01}};

CTestSourcePin::CTestSourcePin(CTestSourceFilter* filter, dshow::CCritSec* lock, HRESULT* result)
    : CTestPushPin(L"TestSourcePin", filter, lock, result)
{
}

HRESULT CTestSourcePin::CheckMediaType(const dshow::CMediaType* mt)
{
    return (*mt->Type() == MEDIATYPE_Stream && *mt->Subtype() == MEDIASUBTYPE_MPEG2_TRANSPORT) ? S_OK : S_FALSE;
}

void CTestSourcePin::MakeMediaType(dshow::CMediaType* mt)
{
    mt->InitMediaType();
    mt->SetType(&MEDIATYPE_Stream);
    mt->SetSubtype(&MEDIASUBTYPE_MPEG2_TRANSPORT);
    mt->SetVariableSize();
}

void CTestSourcePin::FillSample(uint32_t index, IMediaSample* sample)
{
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    LONG length = LengthOf(index);
    for (LONG j = 0; j < length; ++j)
        data[j] = PatternByte(index, static_cast<uint32_t>(j));
    sample->SetActualDataLength(length);
    REFERENCE_TIME start = static_cast<REFERENCE_TIME>(index) * 400000;
    REFERENCE_TIME end = start + 400000;
    sample->SetTime(&start, &end);
}

CTestSourceFilter::CTestSourceFilter() : CTestPushSourceFilter(L"TestSource", kTestSourceClsid) { MakePin(this); }

} // namespace test
