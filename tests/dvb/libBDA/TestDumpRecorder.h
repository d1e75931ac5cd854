// A dump callback that keeps every byte the BD Dumper hands over, for comparing with the file
// the virtual tuner broadcast.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "dvb/libBDA/CBDADumperCallback.h"

namespace test {

class CTestDumpRecorder : public libBDA::CBDADumperCallback {
public:
    HRESULT OnDumpData(const uint8_t* data, int32_t length) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_calls;
        if (length == 0)
            ++m_emptyCalls;
        if (data && length > 0)
            m_bytes.insert(m_bytes.end(), data, data + length);
        return S_OK;
    }
    std::vector<uint8_t> Bytes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bytes;
    }
    size_t Size()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bytes.size();
    }
    uint32_t Calls()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    uint32_t EmptyCalls()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_emptyCalls;
    }

private:
    std::mutex m_mutex;
    std::vector<uint8_t> m_bytes;
    uint32_t m_calls = 0;
    uint32_t m_emptyCalls = 0;
};

} // namespace test
