#include "dvb/libDVB/demux/PesHeader.h"

#include "base/ByteReader.h"
#include "base/Trace.h"

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

// nullptr once `info` holds the header; otherwise why the header is refused.
const char* ReadPesHeader(const uint8_t* data, uint32_t count, PesHeaderInfo& info)
{
    if (!data)
        return "no data";
    base::CByteReader reader(data, count);
    const unsigned streamId = reader.U32() & 0xFF; // the start-code prefix is the caller's to check
    reader.U16(); // PES_packet_length
    if (reader.Overrun())
        return "shorter than its fixed part";

    PesHeaderInfo parsed;
    parsed.streamId = static_cast<uint8_t>(streamId);
    parsed.headerLength = 6;
    if (!HasNoOptionalHeader(streamId)) {
        if (reader.Bits(2) != 2)
            return "optional header without its '10' marker";
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
            return "shorter than its flags";
        parsed.headerLength = 9 + headerLength;
        if (parsed.headerLength > count)
            return "PES_header_data_length past the data";
        // The optional fields must lie inside PES_header_data_length.
        base::CByteReader fields(data + 9, headerLength);

        if (ptsDts == 2) {
            if (!ReadTimestamp(fields, 0x2, &parsed.pts))
                return "bad PTS";
            parsed.hasPts = true;
        } else if (ptsDts == 3) {
            if (!ReadTimestamp(fields, 0x3, &parsed.pts) || !ReadTimestamp(fields, 0x1, &parsed.dts))
                return "bad PTS or DTS";
            parsed.hasPts = true;
            parsed.hasDts = true;
        }
        if (escr) {
            fields.SkipBits(2);
            for (int i = 0; i < 3; ++i) {
                fields.SkipBits(i == 0 ? 3 : 15);
                if (!fields.Bit())
                    return "marker bit not set";
            }
            fields.SkipBits(9); // ESCR_extension
            if (!fields.Bit())
                return "marker bit not set";
        }
        if (esRate) {
            if (!fields.Bit())
                return "marker bit not set";
            fields.SkipBits(22);
            if (!fields.Bit())
                return "marker bit not set";
        }
        if (trickMode)
            fields.Skip(1);
        if (copyInfo) {
            if (!fields.Bit())
                return "marker bit not set";
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
                    return "marker bit not set";
                fields.SkipBits(7);
                if (!fields.Bit())
                    return "marker bit not set";
                fields.SkipBits(7);
            }
            if (pstdBuffer) {
                if (fields.Bits(2) != 1)
                    return "marker bit not set";
                fields.SkipBits(14);
            }
            if (extension2) {
                if (!fields.Bit())
                    return "marker bit not set";
                fields.Skip(fields.Bits(7));
            }
        }
        if (fields.Overrun())
            return "optional fields past PES_header_data_length";
    }
    if (!parsed.hasDts)
        parsed.dts = parsed.pts;
    info = parsed;
    return nullptr;
}

} // namespace

bool ParsePesHeaderInfo(const uint8_t* data, uint32_t count, PesHeaderInfo& info)
{
    const char* refused = ReadPesHeader(data, count, info);
    if (refused)
        base::TraceRefused("PES header", refused);
    return !refused;
}

int ParsePesHeader(const uint8_t*& position, uint32_t& count, uint64_t& pts)
{
    PesHeaderInfo info;
    if (!ParsePesHeaderInfo(position, count, info))
        return 0;
    position += info.headerLength;
    count -= info.headerLength;
    pts = info.pts;
    return 1;
}

} // namespace libDVB
