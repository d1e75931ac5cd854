#include "media/filters/audiodecoder/win/TestAudioSourceFilter.h"

#include <cstring>

#include <mmreg.h>

namespace test {

namespace {

// {4C1F7E2A-5B3D-4E6F-8A9B-0C1D2E3F4A5B}
const GUID kAudioSourceClsid = {0x4c1f7e2a, 0x5b3d, 0x4e6f, {0x8a, 0x9b, 0x0c, 0x1d, 0x2e, 0x3f, 0x4a, 0x5b}};
const GUID kSubtypeMpeg1Payload = {0xE436EB81, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
const GUID kSubtypeDolbyAc3 = {0xE06D802C, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};

} // namespace

CTestAudioSourcePin::CTestAudioSourcePin(CTestAudioSourceFilter* filter, dshow::CCritSec* lock, HRESULT* result)
    : CTestPushPin(L"TestAudioSourcePin", filter, lock, result), m_source(filter)
{
}

HRESULT CTestAudioSourcePin::CheckMediaType(const dshow::CMediaType* mt)
{
    const GUID& major = m_source->m_major != GUID_NULL ? m_source->m_major : MEDIATYPE_Audio;
    return *mt->Type() == major ? S_OK : S_FALSE;
}

void CTestAudioSourcePin::MakeMediaType(dshow::CMediaType* mt)
{
    CTestAudioSourceFilter::MakeType(m_source->m_ac3, mt);
    if (m_source->m_major != GUID_NULL) {
        mt->SetType(&m_source->m_major);
        mt->SetSubtype(&m_source->m_subtype);
    }
}

HRESULT CTestAudioSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    return RequestBuffers(allocator, request, LONG(m_source->m_chunk));
}

bool CTestAudioSourcePin::HasSample(uint32_t index) { return index * m_source->m_chunk < m_source->m_data.size(); }

void CTestAudioSourcePin::FillSample(uint32_t index, IMediaSample* sample)
{
    const size_t offset = index * m_source->m_chunk;
    const size_t length = std::min(m_source->m_chunk, m_source->m_data.size() - offset);
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memcpy(data, m_source->m_data.data() + offset, length);
    sample->SetActualDataLength(LONG(length));
    REFERENCE_TIME start = REFERENCE_TIME(offset) * 10000000 / m_source->m_bytesPerSecond;
    REFERENCE_TIME stop = REFERENCE_TIME(offset + length) * 10000000 / m_source->m_bytesPerSecond;
    sample->SetTime(&start, &stop);
    sample->SetDiscontinuity(index == 0);
}

CTestAudioSourceFilter::CTestAudioSourceFilter() : CTestPushSourceFilter(L"TestAudioSource", kAudioSourceClsid)
{
    MakePin(this);
}

void CTestAudioSourceFilter::SetStream(std::vector<uint8_t> data, bool ac3, uint32_t bytesPerSecond)
{
    m_data = std::move(data);
    m_ac3 = ac3;
    m_bytesPerSecond = bytesPerSecond;
}

void CTestAudioSourceFilter::MakeType(bool ac3, dshow::CMediaType* mt)
{
    mt->InitMediaType();
    mt->SetType(&MEDIATYPE_Audio);
    mt->SetSubtype(ac3 ? &kSubtypeDolbyAc3 : &kSubtypeMpeg1Payload);
    mt->SetFormatType(&FORMAT_WaveFormatEx);
    WAVEFORMATEX* wave = reinterpret_cast<WAVEFORMATEX*>(mt->AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    std::memset(wave, 0, sizeof(*wave));
    wave->wFormatTag = ac3 ? 0x2000 : 0x0050;
    wave->nChannels = 2;
    wave->nSamplesPerSec = 48000;
}

} // namespace test
