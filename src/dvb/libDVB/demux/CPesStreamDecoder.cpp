#include "dvb/libDVB/demux/CPesStreamDecoder.h"

namespace libDVB {

HRESULT CPesStreamDecoder::Start()
{
    base::CScopedLock lock(m_lock);
    if (m_running)
        return S_OK;
    m_pes.Allocate();
    m_running = true;
    return S_OK;
}

HRESULT CPesStreamDecoder::Stop()
{
    base::CScopedLock lock(m_lock);
    if (!m_running)
        return S_FALSE;
    m_running = false;
    ForgetDecoded();
    m_pes.Free();
    return S_OK;
}

bool CPesStreamDecoder::IsRunning() const
{
    base::CScopedLock lock(m_lock);
    return m_running;
}

HRESULT CPesStreamDecoder::OnPacket(const uint8_t* packet, uint32_t length)
{
    if (!packet)
        return E_POINTER;
    if (length != kTSPacketSize)
        return E_INVALIDARG;
    base::CScopedLock lock(m_lock);
    if (!m_running)
        return S_FALSE;
    return m_pes.OnPacket(packet, [this](const uint8_t* pes, uint32_t length) { OnPes(pes, length); });
}

} // namespace libDVB
