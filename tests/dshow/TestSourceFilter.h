// A push source for the base-class tests: when the graph runs it delivers a set number of
// buffers whose bytes tell their index, then end-of-stream, on a worker thread of its pin.
#pragma once

#include <cstdint>

#include "dshow/TestPushPin.h"
#include "dshow/TestPushSourceFilter.h"

namespace test {

class CTestSourceFilter;

class CTestSourcePin : public CTestPushPin {
public:
    CTestSourcePin(CTestSourceFilter* filter, dshow::CCritSec* lock, HRESULT* result);

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override
    {
        return RequestBuffers(allocator, request, kBufferSize);
    }
    // The byte of position j in buffer i; the sink checks every byte against it.
    static uint8_t PatternByte(uint32_t buffer, uint32_t position)
    {
        return static_cast<uint8_t>(buffer * 31u + position * 7u + 1u);
    }
    static constexpr LONG kBufferSize = 1000;

    uint32_t m_bufferCount = 50;
    // Length of buffer i: varies so the sink sees each one's actual length.
    static LONG LengthOf(uint32_t buffer) { return static_cast<LONG>(1 + (buffer * 97u) % kBufferSize); }

protected:
    void MakeMediaType(dshow::CMediaType* mt) override;
    bool HasSample(uint32_t index) override { return index < m_bufferCount; }
    void FillSample(uint32_t index, IMediaSample* sample) override;
};

class CTestSourceFilter : public CTestPushSourceFilter<CTestSourcePin> {
public:
    CTestSourceFilter();
};

} // namespace test
