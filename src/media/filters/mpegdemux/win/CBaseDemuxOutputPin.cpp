#include "media/filters/mpegdemux/win/CBaseDemuxOutputPin.h"

#include <algorithm>
#include <cstring>

#include "dshow/CAutoLock.h"
#include "media/filters/mpegdemux/win/CBasePushDemux.h"

namespace mpegdemux {

CBaseDemuxOutputPin::CBaseDemuxOutputPin(CBasePushDemux* owner, HRESULT* result, const wchar_t* name, int kind,
                                         LONG queueLimit)
    : CBaseOutputPin(L"DemuxOutPin", owner, owner->FilterLock(), result, name), m_queueLimit(queueLimit), m_kind(kind),
      m_owner(owner)
{
    // Stopped until the graph activates the pin: a producer must not wait on a pin without thread.
    m_stopEvent.Set();
}

CBaseDemuxOutputPin::~CBaseDemuxOutputPin()
{
    m_stopEvent.Set();
    if (ThreadExists()) {
        CallWorker(kExit);
        Close();
    }
}

HRESULT CBaseDemuxOutputPin::Active()
{
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    FlushQueue();
    m_stopEvent.Reset();
    if (!ThreadExists() && !Create())
        return E_FAIL;
    CallWorker(kRun);
    return S_OK;
}

HRESULT CBaseDemuxOutputPin::Inactive()
{
    m_stopEvent.Set(); // a producer waiting for room returns and drops its packet
    if (ThreadExists()) {
        CallWorker(kExit);
        Close();
    }
    FlushQueue();
    return CBaseOutputPin::Inactive();
}

HRESULT CBaseDemuxOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = std::max<LONG>(request->cBuffers, 1);
    request->cbBuffer = std::max<LONG>(request->cbBuffer, kBufferSize);
    request->cbAlign = std::max<LONG>(request->cbAlign, 1);
    request->cbPrefix = 0;
    ALLOCATOR_PROPERTIES actual;
    HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    if (actual.cbBuffer < kBufferSize || actual.cBuffers < 1)
        return E_FAIL;
    return S_OK;
}

void CBaseDemuxOutputPin::QueuePacket(std::unique_ptr<CDataPacket> packet, uint32_t generation)
{
    if (!IsConnected())
        return;
    HANDLE events[2] = {m_stopEvent.Handle(), m_roomEvent.Handle()};
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
        return;
    {
        dshow::CAutoLock lock(&m_queueLock);
        // Room may have been made by the worker just before a stop: the stop flushes under this
        // lock after setting its event, so a packet seen here after the event would outlive it.
        if (generation != m_generation || WaitForSingleObject(m_stopEvent.Handle(), 0) == WAIT_OBJECT_0)
            return;
        m_queue.push_back(std::move(packet));
        if (m_queue.size() > static_cast<size_t>(m_queueLimit))
            m_roomEvent.Reset();
    }
    m_workEvent.Set();
}

std::unique_ptr<CDataPacket> CBaseDemuxOutputPin::NextPacket()
{
    dshow::CAutoLock lock(&m_queueLock);
    if (m_queue.empty())
        return nullptr;
    std::unique_ptr<CDataPacket> packet = std::move(m_queue.front());
    m_queue.pop_front();
    m_roomEvent.Set();
    return packet;
}

size_t CBaseDemuxOutputPin::QueuedPackets()
{
    dshow::CAutoLock lock(&m_queueLock);
    return m_queue.size();
}

void CBaseDemuxOutputPin::DiscardQueue()
{
    {
        dshow::CAutoLock lock(&m_queueLock);
        m_queue.clear();
        m_roomEvent.Set();
    }
    dshow::CAutoLock lock(&m_pinLock);
    m_discontinuity = true;
}

void CBaseDemuxOutputPin::FlushQueue()
{
    DiscardQueue();
    dshow::CAutoLock lock(&m_pinLock);
    m_running = false;
    m_timeBase = -1;
}

void CBaseDemuxOutputPin::StartGeneration(uint32_t generation)
{
    {
        dshow::CAutoLock lock(&m_queueLock);
        m_generation = generation;
    }
    FlushQueue();
}

bool CBaseDemuxOutputPin::SetTimeBase(int64_t timeBase, uint32_t generation)
{
    {
        // The generation stays what was checked until the base is set: a new generation that
        // starts meanwhile flushes after it, never before it.
        dshow::CAutoLock queueLock(&m_queueLock);
        if (generation != m_generation)
            return false;
        dshow::CAutoLock lock(&m_pinLock);
        m_timeBase = timeBase;
        m_running = true;
    }
    m_workEvent.Set();
    return true;
}

void CBaseDemuxOutputPin::MarkTypeChange(const dshow::CMediaType& type)
{
    dshow::CAutoLock lock(&m_pinLock);
    m_nextType = type;
    m_typeChanged = true;
}

void CBaseDemuxOutputPin::DeliverEmptySample()
{
    IMediaSample* sample = nullptr;
    if (!IsConnected() || FAILED(GetDeliveryBuffer(&sample, nullptr, nullptr, 0)))
        return;
    sample->SetActualDataLength(0);
    Deliver(sample);
    sample->Release();
}

bool CBaseDemuxOutputPin::DeliverNext()
{
    {
        dshow::CAutoLock lock(&m_pinLock);
        if (!m_running)
            return false;
    }
    std::unique_ptr<CDataPacket> packet = NextPacket();
    if (!packet)
        return false;
    IMediaSample* sample = nullptr;
    if (FAILED(GetDeliveryBuffer(&sample, nullptr, nullptr, 0)))
        return true; // stopping: the packet is dropped
    {
        dshow::CAutoLock lock(&m_pinLock);
        if (!m_running) {
            sample->Release(); // a reset came in between: the packet belongs to the old time line
            return true;
        }
        if (packet->StartTime() != CDataPacket::kNoTime) {
            REFERENCE_TIME start = packet->StartTime() - m_timeBase;
            REFERENCE_TIME stop = start + 1;
            sample->SetTime(&start, &stop);
            sample->SetSyncPoint(packet->SyncPoint() ? TRUE : FALSE);
            sample->SetDiscontinuity(m_discontinuity ? TRUE : FALSE);
            m_discontinuity = false;
        }
        if (m_typeChanged)
            sample->SetMediaType(&m_nextType);
        m_typeChanged = false;
    }
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const LONG size = std::min<LONG>(static_cast<LONG>(packet->Size()), sample->GetSize());
    std::memcpy(data, packet->Data(), static_cast<size_t>(size));
    sample->SetActualDataLength(size);
    // A refusal (a flush downstream) drops this sample only; the next one is tried.
    Deliver(sample);
    sample->Release();
    return true;
}

DWORD CBaseDemuxOutputPin::ThreadProc()
{
    DWORD request = GetRequest();
    for (;;) {
        if (request == kExit) {
            Reply(S_OK);
            return 0;
        }
        if (request != kRun) {
            Reply(static_cast<DWORD>(E_UNEXPECTED));
            request = GetRequest();
            continue;
        }
        Reply(S_OK);
        DeliverEmptySample();
        {
            dshow::CAutoLock lock(&m_pinLock);
            m_discontinuity = true;
        }
        // Deliver until the next request; wait for work when there is none.
        for (;;) {
            if (CheckRequest(&request))
                break;
            if (DeliverNext())
                continue;
            HANDLE events[2] = {GetRequestHandle(), m_workEvent.Handle()};
            if (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
                request = GetRequestParam();
                break;
            }
        }
    }
}

} // namespace mpegdemux
