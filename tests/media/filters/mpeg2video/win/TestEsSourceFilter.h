// A push source for the video filter tests: delivers an MPEG-2 video elementary stream one coded
// picture per sample (with the headers in front of it), each stamped with its presentation time
// as a demultiplexer would: (pictures before its group + temporal_reference) x frame duration.
// Its type is MPEG-2 video with an MPEG2VIDEOINFO carrying the stream's first sequence header.
#pragma once

#include <cstdint>
#include <vector>

#include "dshow/TestPushPin.h"
#include "dshow/TestPushSourceFilter.h"

namespace test {

struct EsUnit {
    size_t offset, length;
    REFERENCE_TIME pts;
};

// Splits an elementary stream at its picture units and gives each its presentation time.
std::vector<EsUnit> SplitPictures(const std::vector<uint8_t>& es, REFERENCE_TIME frameDuration);
// The first sequence header with its extensions (up to the first GOP or picture).
std::vector<uint8_t> FirstSequenceHeader(const std::vector<uint8_t>& es);
// An MPEG2VIDEOINFO media type for the stream.
void MakeMpeg2VideoType(const std::vector<uint8_t>& sequenceHeader, uint32_t width, uint32_t height,
                        class dshow::CMediaType* mt);

class CTestEsSourceFilter;

class CTestEsSourcePin : public CTestPushPin {
public:
    CTestEsSourcePin(CTestEsSourceFilter* filter, dshow::CCritSec* lock, HRESULT* result);

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

protected:
    void MakeMediaType(dshow::CMediaType* mt) override;
    bool HasSample(uint32_t index) override;
    void FillSample(uint32_t index, IMediaSample* sample) override;

private:
    CTestEsSourceFilter* m_source;
};

class CTestEsSourceFilter : public CTestPushSourceFilter<CTestEsSourcePin> {
public:
    CTestEsSourceFilter(std::vector<uint8_t> es, uint32_t width, uint32_t height);

    std::vector<uint8_t> m_es;
    std::vector<EsUnit> m_units;
    std::vector<uint8_t> m_sequenceHeader;
    uint32_t m_width, m_height;
    size_t m_firstUnit = 0;          // delivery starts here (a stream joined in the middle)
    bool m_firstIsDiscontinuity = false;
};

} // namespace test
