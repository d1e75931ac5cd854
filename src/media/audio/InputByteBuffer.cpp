#include "media/audio/InputByteBuffer.h"

#include <cstring>
#include <new>

namespace audio {

bool InputByteBuffer::Allocate(int32_t size)
{
    Free();
    if (size <= 0)
        return true;
    m_storage = new (std::nothrow) uint8_t[static_cast<size_t>(size)]();
    if (!m_storage)
        return false;
    m_capacity = size;
    m_read = m_write = m_storage;
    return true;
}

int32_t InputByteBuffer::Append(const uint8_t* data, int32_t length)
{
    if (length < 0 || (length > 0 && !data) || !m_storage)
        return -1;
    const int64_t limit = int64_t(m_capacity) - kReserve;
    if ((m_write - m_storage) + int64_t(length) > limit) {
        const int32_t unread = Unread();
        if (m_read != m_storage) {
            std::memmove(m_storage, m_read, static_cast<size_t>(unread));
            m_read = m_storage;
            m_write = m_storage + unread;
        }
        if (int64_t(unread) + length > limit)
            return -1;
    }
    if (length > 0)
        std::memcpy(m_write, data, static_cast<size_t>(length));
    m_write += length;
    return length;
}

void InputByteBuffer::Consume(int32_t count)
{
    if (count <= 0)
        return;
    m_read = count >= Unread() ? m_write : m_read + count;
}

void InputByteBuffer::Free()
{
    delete[] m_storage;
    m_storage = m_read = m_write = nullptr;
    m_capacity = 0;
}

} // namespace audio
