// A recorder of the playing service's transport-stream packets: keeps the video and audio PIDs and
// owns the sink its output goes to.
#pragma once

#include <cstdint>

#include "media/record/CBaseRecorderSink.h"

namespace record {

class CBaseRecorder {
public:
    explicit CBaseRecorder(CBaseRecorderSink* sink) : m_sink(sink) {}
    virtual ~CBaseRecorder() { delete m_sink; }
    CBaseRecorder(const CBaseRecorder&) = delete;
    CBaseRecorder& operator=(const CBaseRecorder&) = delete;

    virtual void SetPids(uint16_t videoPid, uint16_t audioPid)
    {
        m_videoPid = videoPid & 0x1FFF;
        m_audioPid = audioPid & 0x1FFF;
    }
    virtual void OnPacket(const uint8_t* packet, int length) {}

protected:
    uint16_t m_audioPid = 0;
    uint16_t m_videoPid = 0;
    CBaseRecorderSink* m_sink;
};

} // namespace record
