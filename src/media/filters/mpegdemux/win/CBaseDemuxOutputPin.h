// An output pin of a push demultiplexer: a queue of payload packets filled by the thread that
// pushes the data, and a delivery thread that turns them into media samples downstream once the
// time base is known. The producer waits while the queue is over its limit, never while the pin
// is stopped or its thread is gone, and the thread goes on after a refused sample (a flush), so a
// producer never hangs on a pin that does not consume.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "dshow/CAMEvent.h"
#include "dshow/CAMThread.h"
#include "dshow/CBaseOutputPin.h"
#include "dshow/CCritSec.h"
#include "media/filters/mpegdemux/CDataPacket.h"

namespace mpegdemux {

class CBasePushDemux;

class CBaseDemuxOutputPin : public dshow::CBaseOutputPin, public dshow::CAMThread {
public:
    enum Kind { kVideo = 0, kAudio = 1 };

    CBaseDemuxOutputPin(CBasePushDemux* owner, HRESULT* result, const wchar_t* name, int kind, LONG queueLimit = 100);
    ~CBaseDemuxOutputPin() override;

    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

    // Producer side: waits for room (or the stop) and appends; a packet of an older generation,
    // or for an unconnected or stopped pin, is dropped.
    void QueuePacket(std::unique_ptr<CDataPacket> packet, uint32_t generation);
    // Empties the queue; the time base is unknown again until the next decision.
    void FlushQueue();
    // Empties the queue and marks a discontinuity, keeping the time base (a change of format).
    void DiscardQueue();
    // FlushQueue, and packets of generations before `generation` are dropped from now on.
    void StartGeneration(uint32_t generation);
    // Sets the time base and lets delivery run; false (nothing set) for an old generation.
    bool SetTimeBase(int64_t timeBase, uint32_t generation);
    // The next sample carries this media type (a change of format downstream).
    void MarkTypeChange(const dshow::CMediaType& type);

    int Kind() const { return m_kind; }
    size_t QueuedPackets();
    LONG QueueLimit() const { return m_queueLimit; }

    static constexpr LONG kBufferSize = 524288;

protected:
    DWORD ThreadProc() override;

    LONG m_queueLimit;

private:
    enum Request : DWORD { kRun = 1, kExit = 3 };

    std::unique_ptr<CDataPacket> NextPacket();
    // Delivers one queued packet; false when there was nothing to deliver.
    bool DeliverNext();
    void DeliverEmptySample();

    dshow::CCritSec m_queueLock;
    std::deque<std::unique_ptr<CDataPacket>> m_queue;
    uint32_t m_generation = 0;
    dshow::CAMEvent m_stopEvent{true};
    dshow::CAMEvent m_roomEvent{true};
    dshow::CAMEvent m_workEvent{false};
    int m_kind;
    CBasePushDemux* m_owner;

    dshow::CCritSec m_pinLock; // the delivery state below; taken inside m_queueLock, never around it
    bool m_discontinuity = true;
    bool m_running = false;
    bool m_typeChanged = false;
    dshow::CMediaType m_nextType;
    int64_t m_timeBase = -1;
};

} // namespace mpegdemux
