#include "dvb/libDVB/epg/CEPGCacheFile.h"

#include "base/ByteReader.h"
#include "base/Trace.h"

namespace libDVB {

namespace {

// Fixed part of a record after its length field: four ids, duration, content, running_status and
// the three string byte counts.
constexpr uint32_t kFixedBytes = 8 + 8 + 4 + 1 + 12;

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    PutU16(out, static_cast<uint16_t>(v));
    PutU16(out, static_cast<uint16_t>(v >> 16));
}

void PutI64(std::vector<uint8_t>& out, int64_t v)
{
    PutU32(out, static_cast<uint32_t>(static_cast<uint64_t>(v)));
    PutU32(out, static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32));
}

void PutString(std::vector<uint8_t>& out, const std::u16string& s)
{
    PutU32(out, static_cast<uint32_t>(s.size() * 2));
    for (char16_t c : s)
        PutU16(out, static_cast<uint16_t>(c));
}

bool ReadString(base::CByteReader& r, std::u16string& s)
{
    const uint32_t bytes = r.U32LE();
    if (r.Overrun() || (bytes & 1) || bytes > r.Remaining())
        return false;
    s.resize(bytes / 2);
    for (auto& c : s)
        c = static_cast<char16_t>(r.U16LE());
    return !r.Overrun();
}

// now - start >= kMaxAge, without overflowing on a start from a damaged file.
bool IsExpired(int64_t start, int64_t now) { return start <= now - CEPGCacheFile::kMaxAge; }

} // namespace

std::vector<uint8_t> CEPGCacheFile::Write(const std::vector<const CEITEvent*>& events, int64_t now)
{
    std::vector<uint8_t> out{kVersion};
    for (const CEITEvent* e : events) {
        if (IsExpired(e->start, now))
            continue;
        const uint32_t length =
            kFixedBytes + static_cast<uint32_t>((e->name.size() + e->shortText.size() + e->extendedText.size()) * 2);
        PutI64(out, e->start);
        PutU32(out, length);
        PutU16(out, e->original_network_id);
        PutU16(out, e->transport_stream_id);
        PutU16(out, e->service_id);
        PutU16(out, e->event_id);
        PutI64(out, e->duration);
        PutU32(out, e->content);
        out.push_back(e->running_status);
        PutString(out, e->name);
        PutString(out, e->shortText);
        PutString(out, e->extendedText);
    }
    return out;
}

int CEPGCacheFile::Read(const std::vector<uint8_t>& bytes, int64_t now, const std::function<void(CEITEvent&&)>& add)
{
    base::CByteReader file(bytes.data(), bytes.size());
    if (file.U8() != kVersion || file.Overrun()) {
        base::TraceRefused("EPG cache", "not of this version");
        return -1;
    }
    int records = 0;
    while (!file.Empty()) {
        const int64_t start = static_cast<int64_t>(file.U64LE());
        const uint32_t length = file.U32LE();
        if (file.Overrun() || length == 0) {
            base::TraceRefused("EPG cache", "record without a length; the rest is dropped");
            break;
        }
        base::CByteReader record = file.Sub(length);
        if (record.Overrun()) {
            base::TraceRefused("EPG cache", "record past the end of the file; the rest is dropped");
            break; // truncated tail
        }
        ++records;
        if (IsExpired(start, now))
            continue;
        CEITEvent e;
        e.start = start;
        e.original_network_id = record.U16LE();
        e.transport_stream_id = record.U16LE();
        e.service_id = record.U16LE();
        e.event_id = record.U16LE();
        e.duration = static_cast<int64_t>(record.U64LE());
        e.content = record.U32LE();
        e.running_status = record.U8();
        if (!ReadString(record, e.name) || !ReadString(record, e.shortText) || !ReadString(record, e.extendedText) ||
            !record.Empty()) {
            // The record's own length does not match its strings: nothing after it can be trusted.
            base::TraceRefused("EPG cache", "record length does not match its texts; the rest is dropped");
            break;
        }
        add(std::move(e));
    }
    return records;
}

} // namespace libDVB
