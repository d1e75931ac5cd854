#include "media/filters/mpeg2video/win/TestEsSourceFilter.h"

#include <cstring>

#include "dshow/CMediaType.h"
#include "dshow/VideoTypes.h"

namespace test {

namespace {
const GUID kEsSourceClsid = {0x6e0b5a2c, 0x0d44, 0x4f0a, {0x9b, 0x1e, 0x6a, 0x3c, 0x1d, 0x2e, 0x4f, 0x20}};

bool StartCodeAt(const std::vector<uint8_t>& es, size_t i)
{
    return i + 4 <= es.size() && es[i] == 0 && es[i + 1] == 0 && es[i + 2] == 1;
}
} // namespace

std::vector<EsUnit> SplitPictures(const std::vector<uint8_t>& es, REFERENCE_TIME frameDuration)
{
    // A unit starts at the first header before a picture (sequence, GOP) or at the picture itself.
    std::vector<EsUnit> units;
    size_t unitStart = 0;
    bool pictureSeen = false;
    int64_t gopBase = 0, picturesSoFar = 0;
    std::vector<int64_t> ptsOf;
    for (size_t i = 0; i + 6 <= es.size(); ++i) {
        if (!StartCodeAt(es, i))
            continue;
        const uint8_t code = es[i + 3];
        if (code == 0xB3 || code == 0xB8 || code == 0x00) {
            if (pictureSeen) {
                units.back().length = i - units.back().offset;
                pictureSeen = false;
                unitStart = i;
            }
            if (code == 0xB8)
                gopBase = picturesSoFar;
            if (code == 0x00) {
                const int tr = (es[i + 4] << 2) | (es[i + 5] >> 6);
                units.push_back({unitStart, 0, (gopBase + tr) * frameDuration});
                pictureSeen = true;
                ++picturesSoFar;
            }
        }
    }
    if (!units.empty())
        units.back().length = es.size() - units.back().offset;
    return units;
}

std::vector<uint8_t> FirstSequenceHeader(const std::vector<uint8_t>& es)
{
    for (size_t i = 4; i + 4 <= es.size(); ++i)
        if (StartCodeAt(es, i) && (es[i + 3] == 0xB8 || es[i + 3] == 0x00))
            return std::vector<uint8_t>(es.begin(), es.begin() + i);
    return {};
}

void MakeMpeg2VideoType(const std::vector<uint8_t>& header, uint32_t width, uint32_t height, dshow::CMediaType* mt)
{
    mt->InitMediaType();
    mt->SetType(&MEDIATYPE_Video);
    mt->SetSubtype(&dshow::kSubtypeMpeg2Video);
    mt->SetFormatType(&dshow::kFormatMpeg2Video);
    auto* info = reinterpret_cast<MPEG2VIDEOINFO*>(mt->AllocFormatBuffer(ULONG(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + header.size())));
    SetRect(&info->hdr.rcSource, 0, 0, LONG(width), LONG(height));
    info->hdr.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->hdr.bmiHeader.biWidth = LONG(width);
    info->hdr.bmiHeader.biHeight = LONG(height);
    info->cbSequenceHeader = DWORD(header.size());
    info->dwProfile = 2;
    if (!header.empty())
        std::memcpy(info->dwSequenceHeader, header.data(), header.size());
    mt->SetVariableSize();
}

CTestEsSourcePin::CTestEsSourcePin(CTestEsSourceFilter* filter, dshow::CCritSec* lock, HRESULT* result)
    : CTestPushPin(L"TestEsSourcePin", filter, lock, result), m_source(filter)
{
}

HRESULT CTestEsSourcePin::CheckMediaType(const dshow::CMediaType* mt)
{
    return *mt->Subtype() == dshow::kSubtypeMpeg2Video ? S_OK : S_FALSE;
}

void CTestEsSourcePin::MakeMediaType(dshow::CMediaType* mt)
{
    MakeMpeg2VideoType(m_source->m_sequenceHeader, m_source->m_width, m_source->m_height, mt);
}

HRESULT CTestEsSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    size_t largest = 1;
    for (const EsUnit& u : m_source->m_units)
        largest = u.length > largest ? u.length : largest;
    return RequestBuffers(allocator, request, LONG(largest));
}

bool CTestEsSourcePin::HasSample(uint32_t index) { return m_source->m_firstUnit + index < m_source->m_units.size(); }

void CTestEsSourcePin::FillSample(uint32_t index, IMediaSample* sample)
{
    const EsUnit& unit = m_source->m_units[m_source->m_firstUnit + index];
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memcpy(data, m_source->m_es.data() + unit.offset, unit.length);
    sample->SetActualDataLength(LONG(unit.length));
    REFERENCE_TIME start = unit.pts, stop = unit.pts + 1;
    sample->SetTime(&start, &stop);
    sample->SetDiscontinuity(index == 0 && m_source->m_firstIsDiscontinuity);
}

CTestEsSourceFilter::CTestEsSourceFilter(std::vector<uint8_t> es, uint32_t width, uint32_t height)
    : CTestPushSourceFilter(L"TestEsSource", kEsSourceClsid), m_es(std::move(es)), m_width(width), m_height(height)
{
    m_units = SplitPictures(m_es, 400000);
    m_sequenceHeader = FirstSequenceHeader(m_es);
    MakePin(this);
}

} // namespace test
