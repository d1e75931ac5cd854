// Builds DVB subtitle segments and PES packets for tests (ETSI EN 300 743), with an encoder of
// the 4-bit/pixel run-length code strings written from the standard's syntax.
#pragma once

#include <cstdint>
#include <vector>

namespace test {

using Bytes = std::vector<uint8_t>;

struct SubtitleRegionRef {
    uint8_t id;
    uint16_t x, y;
};
struct SubtitleObjectRef {
    uint16_t id;
    uint8_t type = 0;
    uint8_t provider = 0;
    uint16_t x = 0, y = 0;
    uint8_t foreground = 0, background = 0;
};
struct SubtitleRegion {
    uint8_t id = 0;
    uint8_t version = 0;
    bool fill = false;
    uint16_t width = 0, height = 0;
    uint8_t level = 2, depth = 2; // 4-bit
    uint8_t clut = 0;
    uint8_t code8 = 0, code4 = 0, code2 = 0;
    std::vector<SubtitleObjectRef> objects;
};
struct SubtitleClutEntry {
    uint8_t id;
    uint8_t tables; // 0x80 2-bit, 0x40 4-bit, 0x20 8-bit
    bool fullRange;
    uint8_t y, cr, cb, t; // full range values; the 2-byte form keeps the top 6/4/4/2 bits
};

Bytes SubtitleSegment(uint8_t type, uint16_t pageId, const Bytes& body);
Bytes PageCompositionSegment(uint16_t pageId, uint8_t timeOut, uint8_t version, uint8_t state,
                             const std::vector<SubtitleRegionRef>& regions);
Bytes RegionCompositionSegment(uint16_t pageId, const SubtitleRegion& region);
Bytes ClutDefinitionSegment(uint16_t pageId, uint8_t clutId, uint8_t version, const std::vector<SubtitleClutEntry>& entries);
// Object data of the pixel kind with the two field blocks as given.
Bytes ObjectDataSegment(uint16_t pageId, uint16_t objectId, uint8_t version, const Bytes& top, const Bytes& bottom);
Bytes EndOfDisplaySetSegment(uint16_t pageId);

// One field block: every line as a 4-bit code string (runs of equal codes coded as runs, pseudo-
// colour 0 with its own short codes) followed by end_of_object_line.
Bytes FourBitField(const std::vector<std::vector<uint8_t>>& lines);

// data_identifier 0x20, subtitle_stream_id 0, the segments, end_of_PES_data_field_marker.
Bytes SubtitlePesPayload(const std::vector<Bytes>& segments);

} // namespace test
