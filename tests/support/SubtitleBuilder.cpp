#include "support/SubtitleBuilder.h"

#include <cstddef>

namespace test {

namespace {

class BitWriter {
public:
    void Put(unsigned value, unsigned bits)
    {
        for (unsigned i = bits; i-- > 0;) {
            if (m_bit == 0)
                m_bytes.push_back(0);
            if ((value >> i) & 1)
                m_bytes.back() = static_cast<uint8_t>(m_bytes.back() | (0x80 >> m_bit));
            m_bit = (m_bit + 1) & 7;
        }
    }
    void Align() { m_bit = 0; }
    Bytes& bytes() { return m_bytes; }

private:
    Bytes m_bytes;
    unsigned m_bit = 0;
};

void Put16(Bytes& b, unsigned v)
{
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

// One run of `count` pixels of `code` in the syntax of EN 300 743, 7.2.5.2 (table 22).
void PutRun(BitWriter& w, unsigned code, unsigned count)
{
    while (count > 0) {
        if (count >= 25) {
            const unsigned n = count > 280 ? 280 : count;
            w.Put(0, 4), w.Put(1, 1), w.Put(1, 1), w.Put(3, 2), w.Put(n - 25, 8), w.Put(code, 4);
            count -= n;
        } else if (count >= 9) {
            w.Put(0, 4), w.Put(1, 1), w.Put(1, 1), w.Put(2, 2), w.Put(count - 9, 4), w.Put(code, 4);
            count = 0;
        } else if (code == 0 && count >= 3) {
            w.Put(0, 4), w.Put(0, 1), w.Put(count - 2, 3);
            count = 0;
        } else if (code == 0) {
            w.Put(0, 4), w.Put(1, 1), w.Put(1, 1), w.Put(count == 2 ? 1 : 0, 2);
            count = 0;
        } else if (count >= 4) {
            const unsigned n = count > 7 ? 7 : count;
            w.Put(0, 4), w.Put(1, 1), w.Put(0, 1), w.Put(n - 4, 2), w.Put(code, 4);
            count -= n;
        } else {
            w.Put(code, 4);
            --count;
        }
    }
}

} // namespace

Bytes SubtitleSegment(uint8_t type, uint16_t pageId, const Bytes& body)
{
    Bytes s = {0x0F, type};
    Put16(s, pageId);
    Put16(s, static_cast<unsigned>(body.size()));
    s.insert(s.end(), body.begin(), body.end());
    return s;
}

Bytes PageCompositionSegment(uint16_t pageId, uint8_t timeOut, uint8_t version, uint8_t state,
                             const std::vector<SubtitleRegionRef>& regions)
{
    Bytes b = {timeOut, static_cast<uint8_t>((version << 4) | (state << 2) | 3)};
    for (const auto& r : regions) {
        b.push_back(r.id);
        b.push_back(0xFF);
        Put16(b, r.x);
        Put16(b, r.y);
    }
    return SubtitleSegment(0x10, pageId, b);
}

Bytes RegionCompositionSegment(uint16_t pageId, const SubtitleRegion& r)
{
    Bytes b = {r.id, static_cast<uint8_t>((r.version << 4) | (r.fill ? 8 : 0) | 7)};
    Put16(b, r.width);
    Put16(b, r.height);
    b.push_back(static_cast<uint8_t>((r.level << 5) | (r.depth << 2) | 3));
    b.push_back(r.clut);
    b.push_back(r.code8);
    b.push_back(static_cast<uint8_t>((r.code4 << 4) | (r.code2 << 2) | 3));
    for (const auto& o : r.objects) {
        Put16(b, o.id);
        Put16(b, (unsigned(o.type) << 14) | (unsigned(o.provider) << 12) | (o.x & 0xFFF));
        Put16(b, 0xF000 | (o.y & 0xFFF));
        if (o.type == 1 || o.type == 2) {
            b.push_back(o.foreground);
            b.push_back(o.background);
        }
    }
    return SubtitleSegment(0x11, pageId, b);
}

Bytes ClutDefinitionSegment(uint16_t pageId, uint8_t clutId, uint8_t version, const std::vector<SubtitleClutEntry>& entries)
{
    Bytes b = {clutId, static_cast<uint8_t>((version << 4) | 0x0F)};
    for (const auto& e : entries) {
        b.push_back(e.id);
        b.push_back(static_cast<uint8_t>(e.tables | 0x1E | (e.fullRange ? 1 : 0)));
        if (e.fullRange) {
            b.insert(b.end(), {e.y, e.cr, e.cb, e.t});
        } else {
            const unsigned v = (unsigned(e.y >> 2) << 10) | (unsigned(e.cr >> 4) << 6) | (unsigned(e.cb >> 4) << 2) |
                               (e.t >> 6);
            Put16(b, v);
        }
    }
    return SubtitleSegment(0x12, pageId, b);
}

Bytes ObjectDataSegment(uint16_t pageId, uint16_t objectId, uint8_t version, const Bytes& top, const Bytes& bottom)
{
    Bytes b;
    Put16(b, objectId);
    b.push_back(static_cast<uint8_t>((version << 4) | 0x01)); // coding method 0 (pixels)
    Put16(b, static_cast<unsigned>(top.size()));
    Put16(b, static_cast<unsigned>(bottom.size()));
    b.insert(b.end(), top.begin(), top.end());
    b.insert(b.end(), bottom.begin(), bottom.end());
    return SubtitleSegment(0x13, pageId, b);
}

Bytes EndOfDisplaySetSegment(uint16_t pageId) { return SubtitleSegment(0x80, pageId, {}); }

Bytes FourBitField(const std::vector<std::vector<uint8_t>>& lines)
{
    Bytes field;
    for (const auto& line : lines) {
        BitWriter w;
        for (size_t i = 0; i < line.size();) {
            size_t j = i;
            while (j < line.size() && line[j] == line[i])
                ++j;
            PutRun(w, line[i] & 15, static_cast<unsigned>(j - i));
            i = j;
        }
        w.Put(0, 4), w.Put(0, 1), w.Put(0, 3); // end_of_string_signal
        w.Align();
        field.push_back(0x11);
        field.insert(field.end(), w.bytes().begin(), w.bytes().end());
        field.push_back(0xF0);
    }
    return field;
}

Bytes SubtitlePesPayload(const std::vector<Bytes>& segments)
{
    Bytes p = {0x20, 0x00};
    for (const auto& s : segments)
        p.insert(p.end(), s.begin(), s.end());
    p.push_back(0xFF);
    return p;
}

} // namespace test
