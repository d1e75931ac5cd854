// A push source for the audio filter tests: delivers a compressed audio stream in samples of a
// fixed size, each stamped with the time of its first byte at the stream's constant bit rate, in
// the media type a demultiplexer gives its audio pin.
#pragma once

#include <cstdint>
#include <vector>

#include "dshow/CMediaType.h"
#include "dshow/TestPushPin.h"
#include "dshow/TestPushSourceFilter.h"

namespace test {

class CTestAudioSourceFilter;

class CTestAudioSourcePin : public CTestPushPin {
public:
    CTestAudioSourcePin(CTestAudioSourceFilter* filter, dshow::CCritSec* lock, HRESULT* result);

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

protected:
    void MakeMediaType(dshow::CMediaType* mt) override;
    bool HasSample(uint32_t index) override;
    void FillSample(uint32_t index, IMediaSample* sample) override;

private:
    CTestAudioSourceFilter* m_source;
};

class CTestAudioSourceFilter : public CTestPushSourceFilter<CTestAudioSourcePin> {
public:
    CTestAudioSourceFilter();

    // MPEG audio (wave format 0x0050) or AC-3 (0x2000) in the demultiplexer's subtypes.
    void SetStream(std::vector<uint8_t> data, bool ac3, uint32_t bytesPerSecond);
    static void MakeType(bool ac3, dshow::CMediaType* mt);

    std::vector<uint8_t> m_data;
    bool m_ac3 = false;
    uint32_t m_bytesPerSecond = 1;
    size_t m_chunk = 1000;
    // When set, the pin offers this major type and subtype instead (other kinds of stream).
    GUID m_major = GUID_NULL, m_subtype = GUID_NULL;
};

} // namespace test
