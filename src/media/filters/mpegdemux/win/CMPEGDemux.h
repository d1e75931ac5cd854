// The MPEG push demultiplexer filter: no input pin; its owner pushes 188-byte transport-stream
// packets, and the PES of one video PID and one audio PID come out of the "Video" and "Audio"
// pins, time-stamped relative to a common base. One demux lock (taken after the filter lock)
// guards the PIDs and the reassembly; it is never held while a full output queue makes the
// producer wait.
#pragma once

#include "dshow/CCritSec.h"
#include "media/filters/mpegdemux/CMpegDemuxCore.h"
#include "media/filters/mpegdemux/win/CBasePushDemux.h"
#include "media/filters/mpegdemux/win/CMPEGDemuxPin.h"

namespace mpegdemux {

// {6B41C5A8-8BF4-4DA8-88CD-28FA50AD898F}
extern const GUID CLSID_MPEGDemux;

class CMPEGDemux : public CBasePushDemux {
public:
    static constexpr LONG kVideoQueueLimit = 10000;

    CMPEGDemux(IUnknown* owner, HRESULT* result, LONG audioQueueLimit);

    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    // Leaving the stopped state starts a new time line, as a reset does.
    STDMETHODIMP Pause() override;

    // New video and audio PIDs (0: none); both outputs flush and start a new segment at 0. The
    // reference PID has no effect. Returns 0.
    HRESULT SetPIDs(WORD videoPid, WORD audioPid, WORD referencePid);
    // SetPIDs with the PIDs it has.
    HRESULT Reset();
    // One 188-byte packet: 1 for a PID that is not routed, an unconnected output or a packet
    // without anything to take; E_FAIL for a malformed packet or PES header; else 0.
    HRESULT PushPacket(const BYTE* packet, int length = 188);

    CMPEGDemuxPin* VideoPin() const { return static_cast<CMPEGDemuxPin*>(Pin(0)); }
    CMPEGDemuxPin* AudioPin() const { return static_cast<CMPEGDemuxPin*>(Pin(1)); }

private:
    void Restart(WORD videoPid, WORD audioPid);
    void HandleEvents(CMpegDemuxCore::CEvents& events);

    dshow::CCritSec m_demuxLock;
    CMpegDemuxCore m_core;
};

} // namespace mpegdemux
