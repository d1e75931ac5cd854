#include "dvb/libDVB/timeshift/CTSPacketBuffer.h"

#include <cstring>

#include "dvb/libDVB/demux/TSPacket.h"
#include "dvb/libDVB/timeshift/CPcrPacer.h"
#include "dvb/libDVB/timeshift/PacedReaderThread.h"

namespace libDVB {

namespace {

std::unique_ptr<CTSPacketBufferInterface> CreateTSPacketBuffer(CTSPacketBufferInterface::CTSPacketBufferCallback* callback)
{
    return std::make_unique<CTSPacketBuffer>(callback);
}

} // namespace

void CTSPacketBuffer::Install() { SetFactory(&CreateTSPacketBuffer); }

CTSPacketBuffer::CTSPacketBuffer(CTSPacketBufferCallback* callback) : CTSPacketBuffer(callback, nullptr, 0, 0) {}

CTSPacketBuffer::CTSPacketBuffer(CTSPacketBufferCallback* callback, CClock* clock, uint64_t ringStep,
                                 uint64_t ringMaximum)
    : m_callback(callback), m_clock(clock), m_ringStep(ringStep ? ringStep : CTSRingFile::kStep),
      m_ringMaximum(ringMaximum)
{
    if (!m_clock) {
        m_ownClock = std::make_unique<CTickPacingClock>();
        m_clock = m_ownClock.get();
    }
    m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_data = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

CTSPacketBuffer::~CTSPacketBuffer()
{
    Stop();
    if (m_stop)
        CloseHandle(m_stop);
    if (m_data)
        CloseHandle(m_data);
}

HRESULT CTSPacketBuffer::Pause(uint16_t pacingPid)
{
    base::CScopedLock lock(m_lock);
    if (m_paused)
        return S_FALSE;
    if (!m_created) {
        if (!m_stop || !m_data)
            return E_FAIL;
        std::unique_ptr<CTSTemporaryFile> file = CTSTemporaryFile::Create(m_ringStep);
        if (!file)
            return E_FAIL;
        // 70 % of the space free to us, in 64 bits: drives hold more than 4 GiB.
        const uint64_t maximum = m_ringMaximum ? m_ringMaximum : file->GetFreeBytes() / 10 * 7;
        m_ring = std::make_unique<CTSRingFile>(file.get(), m_ringStep, maximum);
        m_file = std::move(file);
        m_transfer.reset(new uint8_t[kTransferSize]);
        m_fill = 0;
        m_pacingPid = pacingPid;
        m_created = true;
    }
    m_paused = true;
    return S_OK;
}

HRESULT CTSPacketBuffer::Play()
{
    base::CScopedLock lock(m_lock);
    if (!m_paused)
        return S_FALSE;
    if (m_fill > 0) {
        m_ring->Write(m_transfer.get(), m_fill);
        SetEvent(m_data);
    }
    m_paused = false;
    m_fill = 0;
    if (m_thread) {
        // A reader already replays this ring: it simply goes on.
        if (WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT)
            return S_OK;
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    ResetEvent(m_stop);
    m_thread = StartPacedReaderThread(&CTSPacketBuffer::ReaderEntry, this);
    return m_thread ? S_OK : E_FAIL;
}

HRESULT CTSPacketBuffer::Write(const uint8_t* packet, uint32_t length)
{
    if (!packet)
        return E_POINTER;
    if (length != kTSPacketSize)
        return E_INVALIDARG;
    base::CScopedLock lock(m_lock);
    if (!m_created)
        return S_FALSE;
    if (kTransferSize - m_fill >= length) {
        std::memcpy(m_transfer.get() + m_fill, packet, length);
        m_fill += length;
    }
    if (m_fill == kTransferSize) {
        m_ring->Write(m_transfer.get(), m_fill);
        m_fill = 0;
        SetEvent(m_data);
    }
    return S_OK;
}

HRESULT CTSPacketBuffer::Stop()
{
    if (m_stop)
        SetEvent(m_stop);
    HANDLE thread;
    {
        base::CScopedLock lock(m_lock);
        thread = m_thread;
        m_thread = nullptr;
    }
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    base::CScopedLock lock(m_lock);
    m_paused = false;
    m_created = false;
    m_ring.reset();
    m_file.reset(); // closing deletes the file
    m_transfer.reset();
    m_fill = 0;
    return S_OK;
}

bool CTSPacketBuffer::IsPaused() const
{
    base::CScopedLock lock(m_lock);
    return m_paused;
}

bool CTSPacketBuffer::IsCreated() const
{
    base::CScopedLock lock(m_lock);
    return m_created;
}

uint64_t CTSPacketBuffer::GetRingSize() const
{
    base::CScopedLock lock(m_lock);
    return m_ring ? m_ring->GetSize() : 0;
}

uint64_t CTSPacketBuffer::GetRingMaximum() const
{
    base::CScopedLock lock(m_lock);
    return m_ring ? m_ring->GetMaximum() : 0;
}

uint64_t CTSPacketBuffer::GetRingUsed() const
{
    base::CScopedLock lock(m_lock);
    return m_ring ? m_ring->GetUsed() : 0;
}

std::wstring CTSPacketBuffer::GetFilePath() const
{
    base::CScopedLock lock(m_lock);
    return m_file ? m_file->GetPath() : std::wstring();
}

unsigned __stdcall CTSPacketBuffer::ReaderEntry(void* self)
{
    static_cast<CTSPacketBuffer*>(self)->ReaderLoop();
    return 0;
}

void CTSPacketBuffer::ReaderLoop()
{
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[kTransferSize]);
    uint16_t pid;
    {
        base::CScopedLock lock(m_lock);
        pid = m_pacingPid;
    }
    CPcrPacer pacer;
    uint32_t have = 0;
    uint32_t at = 0;
    while (WaitForSingleObject(m_stop, 0) != WAIT_OBJECT_0) {
        if (have - at < kTSPacketSize) {
            {
                base::CScopedLock lock(m_lock);
                have = m_ring ? m_ring->Read(buffer.get(), kTransferSize) : 0;
            }
            at = 0;
            if (have < kTSPacketSize) {
                // Caught up with the recording: wait for the next transfer (or the end).
                HANDLE events[2] = {m_stop, m_data};
                WaitForMultipleObjects(2, events, FALSE, 250);
                have = 0;
                continue;
            }
        }
        const uint8_t* packet = buffer.get() + at;
        at += kTSPacketSize;
        uint64_t pcr = 0;
        if (TSPacketPid(packet) == pid && CPcrPacer::ReadPcrBase(packet, kTSPacketSize, &pcr)) {
            const uint32_t wait = pacer.OnPcr(pcr, m_clock->NowMs());
            if (wait && m_clock->Wait(m_stop, wait))
                break;
        }
        if (m_callback)
            m_callback->OnBufferedPacket(packet, kTSPacketSize);
    }
}

} // namespace libDVB
