// One unit of payload on its way from a demultiplexer pin to its delivery thread: everything from
// one PES start with a PTS up to the next (or a buffer-full of it), with its time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mpegdemux {

// 90 kHz ticks into 100-ns units, rounded up (ISO/IEC 13818-1 PTS to DirectShow reference time).
inline int64_t PtsToReferenceTime(int64_t pts) { return pts >= 0 ? (pts * 1000 + 8) / 9 : -((-pts * 1000) / 9); }

class CDataPacket {
public:
    static constexpr int64_t kNoTime = -1;

    CDataPacket(const uint8_t* data, size_t size, int64_t startTime, int64_t pts)
        : m_data(data, data + size), m_startTime(startTime), m_pts(pts)
    {
    }
    virtual ~CDataPacket() = default;

    const uint8_t* Data() const { return m_data.data(); }
    size_t Size() const { return m_data.size(); }
    // Start in 100-ns units before the time base is taken off; kNoTime when the packet has no time.
    int64_t StartTime() const { return m_startTime; }
    int64_t StopTime() const { return 0; }
    bool SyncPoint() const { return true; }
    // The (unwrapped) PTS in 90 kHz units; 0 when the packet has no time.
    int64_t Pts() const { return m_pts; }

private:
    std::vector<uint8_t> m_data;
    int64_t m_startTime;
    int64_t m_pts;
};

} // namespace mpegdemux
