// A ring of transport-stream bytes in a file: it grows by a fixed step while it may, then
// overwrites its oldest bytes. It knows how many bytes it holds, so an empty ring and a full one
// are told apart.
#pragma once

#include <cstdint>

namespace libDVB {

class CTSRingFile {
public:
    // Where the ring keeps its bytes (a temporary file in the viewer).
    class CStorage {
    public:
        virtual ~CStorage() = default;
        virtual bool ReadAt(uint64_t offset, uint8_t* buffer, uint32_t length) = 0;
        virtual bool WriteAt(uint64_t offset, const uint8_t* data, uint32_t length) = 0;
        virtual bool SetLength(uint64_t length) = 0;
    };

    static constexpr uint32_t kTransferSize = 65800;      // 350 packets
    static constexpr uint64_t kStep = 1024ull * kTransferSize; // initial size and growth step

    // The storage must already be `step` bytes long; the ring grows only while size + step stays
    // below `maximum`.
    CTSRingFile(CStorage* storage, uint64_t step, uint64_t maximum);
    virtual ~CTSRingFile() = default;
    CTSRingFile(const CTSRingFile&) = delete;
    CTSRingFile& operator=(const CTSRingFile&) = delete;

    // Up to `length` of the oldest bytes held; 0 when the ring is empty.
    virtual uint32_t Read(uint8_t* buffer, uint32_t length);
    // The bytes written: all of them, or 0 when `length` exceeds the ring (or storage failed).
    virtual uint32_t Write(const uint8_t* data, uint32_t length);

    uint64_t GetSize() const { return m_size; }
    uint64_t GetMaximum() const { return m_maximum; }
    uint64_t GetUsed() const { return m_used; }
    uint64_t GetReadPosition() const { return m_read; }
    uint64_t GetWritePosition() const { return (m_read + m_used) % m_size; }

private:
    CStorage* m_storage;
    uint64_t m_step;
    uint64_t m_maximum;
    uint64_t m_size;
    uint64_t m_base = 0;
    uint64_t m_read = 0; // oldest byte held
    uint64_t m_used = 0; // bytes held, from m_read on, wrapping at m_size
};

} // namespace libDVB
