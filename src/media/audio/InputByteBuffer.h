// The audio filter's accumulation buffer of compressed bytes. Frame decoders read the unread bytes
// in place (between the read and the write pointer); the filter advances the read pointer by what
// a decoder consumed. The last 64 KiB of the storage are never written, so a decoder may look a
// little past a frame without a bounds check of its own.
#pragma once

#include <cstdint>

namespace audio {

class InputByteBuffer {
public:
    static constexpr int32_t kReserve = 65536;

    InputByteBuffer() = default;
    ~InputByteBuffer() { Free(); }
    InputByteBuffer(const InputByteBuffer&) = delete;
    InputByteBuffer& operator=(const InputByteBuffer&) = delete;

    // Frees any storage, then allocates `size` zeroed bytes; false when the allocation fails.
    bool Allocate(int32_t size);
    void Empty() { m_read = m_write = m_storage; }
    // Appends `length` bytes and returns `length`, or -1 (nothing appended) when they do not fit
    // even after the unread bytes were moved to the start.
    int32_t Append(const uint8_t* data, int32_t length);
    // Steps the read pointer over `count` consumed bytes (never past the write pointer).
    void Consume(int32_t count);
    void Free();

    const uint8_t* ReadPointer() const { return m_read; }
    const uint8_t* WritePointer() const { return m_write; }
    int32_t Unread() const { return static_cast<int32_t>(m_write - m_read); }
    int32_t Capacity() const { return m_capacity; }

private:
    int32_t m_capacity = 0;
    uint8_t* m_storage = nullptr;
    uint8_t* m_read = nullptr;
    uint8_t* m_write = nullptr;
};

} // namespace audio
