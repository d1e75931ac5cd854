#include "base/ByteWriter.h"

namespace base {

void CByteWriter::U16LE(uint16_t v)
{
    m_out.push_back(static_cast<uint8_t>(v));
    m_out.push_back(static_cast<uint8_t>(v >> 8));
}

void CByteWriter::U32LE(uint32_t v)
{
    U16LE(static_cast<uint16_t>(v));
    U16LE(static_cast<uint16_t>(v >> 16));
}

uint32_t CByteWriter::Utf16String(const std::u16string& text)
{
    const uint32_t bytes = static_cast<uint32_t>(text.size() * 2);
    U32LE(bytes);
    for (char16_t c : text)
        U16LE(static_cast<uint16_t>(c));
    return 4 + bytes;
}

void CByteWriter::PatchU32LE(size_t position, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        m_out[position + i] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace base
