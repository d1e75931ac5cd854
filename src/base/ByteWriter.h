// The writing twin of CByteReader for our own little-endian files: appends to a byte vector and
// can patch a length field once the bytes it counts have been written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace base {

class CByteWriter {
public:
    explicit CByteWriter(std::vector<uint8_t>& out) : m_out(out) {}

    size_t Position() const { return m_out.size(); }

    void U8(uint8_t v) { m_out.push_back(v); }
    void U16LE(uint16_t v);
    void U32LE(uint32_t v);
    void Bytes(const uint8_t* data, size_t size) { m_out.insert(m_out.end(), data, data + size); }
    // A u32 byte count followed by the UTF-16LE text without terminator; returns the bytes written.
    uint32_t Utf16String(const std::u16string& text);
    // Overwrites four bytes already written at `position`.
    void PatchU32LE(size_t position, uint32_t v);

private:
    std::vector<uint8_t>& m_out;
};

} // namespace base
