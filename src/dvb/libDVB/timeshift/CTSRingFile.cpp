#include "dvb/libDVB/timeshift/CTSRingFile.h"

#include <algorithm>

namespace libDVB {

CTSRingFile::CTSRingFile(CStorage* storage, uint64_t step, uint64_t maximum)
    : m_storage(storage), m_step(step ? step : kStep), m_maximum(maximum), m_size(m_step)
{
}

uint32_t CTSRingFile::Write(const uint8_t* data, uint32_t length)
{
    if (!m_storage || !data || length > m_size)
        return 0;
    uint32_t done = 0;
    while (done < length) {
        // The writer has reached the end of the ring and the bytes held do not wrap: grow while
        // allowed, so the ring continues behind them; otherwise wrap to the start.
        if (m_read + m_used == m_size && m_size + m_step < m_maximum && m_storage->SetLength(m_size + m_step))
            m_size += m_step;
        const uint64_t write = (m_read + m_used) % m_size;
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(length - done, m_size - write));
        if (!m_storage->WriteAt(m_base + write, data + done, n))
            return done;
        if (m_used + n > m_size) {
            // Overrun: the oldest bytes are given up; the reader continues behind the new ones.
            m_read = (write + n) % m_size;
            m_used = m_size;
        } else {
            m_used += n;
        }
        done += n;
    }
    return done;
}

uint32_t CTSRingFile::Read(uint8_t* buffer, uint32_t length)
{
    if (!m_storage || !buffer)
        return 0;
    uint32_t done = 0;
    while (done < length && m_used > 0) {
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>({length - done, m_used, m_size - m_read}));
        if (!m_storage->ReadAt(m_base + m_read, buffer + done, n))
            break;
        m_read = (m_read + n) % m_size;
        m_used -= n;
        done += n;
    }
    return done;
}

} // namespace libDVB
