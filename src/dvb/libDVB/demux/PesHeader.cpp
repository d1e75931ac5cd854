#include "dvb/libDVB/demux/PesHeader.h"

#include "base/ByteReader.h"

namespace libDVB {

namespace {

// A 33-bit timestamp in five bytes: 4-bit prefix, then 3 + 15 + 15 bits each followed by a marker.
bool ReadTimestamp(base::CByteReader& reader, unsigned prefix, uint64_t* value)
{
    if (reader.Bits(4) != prefix)
        return false;
    uint64_t ts = static_cast<uint64_t>(reader.Bits(3)) << 30;
    if (!reader.Bit())
        return false;
    ts |= static_cast<uint64_t>(reader.Bits(15)) << 15;
    if (!reader.Bit())
        return false;
    ts |= reader.Bits(15);
    if (!reader.Bit())
        return false;
    if (value)
        *value = ts;
    return !reader.Overrun();
}

bool HasNoOptionalHeader(unsigned streamId)
{
    switch (streamId) {
    case 0xBC: // program_stream_map
    case 0xBE: // padding_stream
    case 0xBF: // private_stream_2
    case 0xF0: // ECM
    case 0xF1: // EMM
    case 0xF2: // DSMCC
    case 0xF8: // ITU-T H.222.1 type E
    case 0xFF: // program_stream_directory
        return true;
    default:
        return false;
    }
}

} // namespace

int ParsePesHeader(const uint8_t*& position, uint32_t& count, uint64_t& pts)
{
    if (!position)
        return 0;
    base::CByteReader reader(position, count);
    const unsigned streamId = reader.U32() & 0xFF;
    reader.U16(); // PES_packet_length
    if (reader.Overrun())
        return 0;

    uint64_t timestamp = 0;
    uint32_t headerEnd = 6;
    if (!HasNoOptionalHeader(streamId)) {
        if (reader.Bits(2) != 2)
            return 0;
        reader.SkipBits(6); // scrambling, priority, alignment, copyright, original
        const unsigned ptsDts = reader.Bits(2);
        const bool escr = reader.Bit();
        const bool esRate = reader.Bit();
        const bool trickMode = reader.Bit();
        const bool copyInfo = reader.Bit();
        const bool crc = reader.Bit();
        const bool extension = reader.Bit();
        const uint32_t headerLength = reader.U8();
        if (reader.Overrun())
            return 0;
        headerEnd = 9 + headerLength;
        if (headerEnd > count)
            return 0;
        // The optional fields must lie inside PES_header_data_length.
        base::CByteReader fields(position + 9, headerLength);

        if (ptsDts == 2) {
            if (!ReadTimestamp(fields, 0x2, &timestamp))
                return 0;
        } else if (ptsDts == 3) {
            if (!ReadTimestamp(fields, 0x3, &timestamp) || !ReadTimestamp(fields, 0x1, nullptr))
                return 0;
        }
        if (escr) {
            fields.SkipBits(2);
            for (int i = 0; i < 3; ++i) {
                fields.SkipBits(i == 0 ? 3 : 15);
                if (!fields.Bit())
                    return 0;
            }
            fields.SkipBits(9); // ESCR_extension
            if (!fields.Bit())
                return 0;
        }
        if (esRate) {
            if (!fields.Bit())
                return 0;
            fields.SkipBits(22);
            if (!fields.Bit())
                return 0;
        }
        if (trickMode)
            fields.Skip(1);
        if (copyInfo) {
            if (!fields.Bit())
                return 0;
            fields.SkipBits(7);
        }
        if (crc)
            fields.Skip(2);
        if (extension) {
            const bool privateData = fields.Bit();
            const bool packHeader = fields.Bit();
            const bool sequenceCounter = fields.Bit();
            const bool pstdBuffer = fields.Bit();
            fields.SkipBits(3);
            const bool extension2 = fields.Bit();
            if (privateData)
                fields.Skip(16);
            if (packHeader)
                fields.Skip(fields.U8());
            if (sequenceCounter) {
                if (!fields.Bit())
                    return 0;
                fields.SkipBits(7);
                if (!fields.Bit())
                    return 0;
                fields.SkipBits(7);
            }
            if (pstdBuffer) {
                if (fields.Bits(2) != 1)
                    return 0;
                fields.SkipBits(14);
            }
            if (extension2) {
                if (!fields.Bit())
                    return 0;
                fields.Skip(fields.Bits(7));
            }
        }
        if (fields.Overrun())
            return 0;
    }

    position += headerEnd;
    count -= headerEnd;
    pts = timestamp;
    return 1;
}

} // namespace libDVB
