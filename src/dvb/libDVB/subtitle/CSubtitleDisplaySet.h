// One DVB subtitle display set (ETSI EN 300 743): the page composition of one PES packet with the
// regions, CLUTs and objects it may use, stamped with the packet's presentation time. The segment
// parsers check every length against the segment before they change anything.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "base/ByteReader.h"
#include "base/Result.h"

namespace libDVB {

class CSubtitleDisplaySet {
public:
    struct CRegionReference {
        uint8_t regionId;
        uint16_t horizontal;
        uint16_t vertical;
    };
    struct CPageComposition {
        uint8_t timeOut = 0;
        uint8_t version = 0;
        uint8_t state = 0;
        std::vector<CRegionReference> regions;
    };
    // Colours as stored in the bitmap, 0xAARRGGBB; all 0 (transparent) until defined.
    struct CClut {
        uint8_t id = 0;
        uint32_t entries2[4] = {};
        uint32_t entries4[16] = {};
        uint32_t entries8[256] = {};
    };
    struct CObjectReference {
        uint16_t objectId;
        uint8_t type;
        uint8_t provider;
        uint16_t horizontal;
        uint16_t vertical;
        uint8_t foreground;
        uint8_t background;
    };
    struct CRegion {
        uint8_t id = 0;
        bool fill = false;
        uint16_t width = 0;
        uint16_t height = 0;
        uint8_t compatibility = 0;
        uint8_t depth = 0;
        uint8_t clutId = 0;
        uint8_t code8 = 0;
        uint8_t code4 = 0;
        uint8_t code2 = 0;
        std::vector<CObjectReference> objects;
    };
    struct CObject {
        uint16_t id = 0;
        uint8_t codingMethod = 0;
        // From top_field_data_block_length on, as received; the two field lengths fit the data.
        std::vector<uint8_t> data;
    };

    static constexpr uint8_t kSyncByte = 0x0F;
    static constexpr uint8_t kPageComposition = 0x10;
    static constexpr uint8_t kRegionComposition = 0x11;
    static constexpr uint8_t kClutDefinition = 0x12;
    static constexpr uint8_t kObjectData = 0x13;

    // Each takes a whole segment from its sync byte; E_FAIL leaves the set as it was.
    HRESULT ParsePageComposition(const uint8_t* segment, uint32_t length);
    HRESULT ParseRegionComposition(const uint8_t* segment, uint32_t length);
    HRESULT ParseClutDefinition(const uint8_t* segment, uint32_t length);
    HRESULT ParseObjectData(const uint8_t* segment, uint32_t length);

    // The page_state of a page composition segment, -1 when it is not one that fits its bytes.
    static int PageState(const uint8_t* segment, uint32_t length);
    // Converts a CLUT entry (EN 300 743, 7.2.4: 8-bit Y, Cr, Cb) to the bitmap's colour.
    static uint32_t ColourFromYCrCb(int y, int cr, int cb);

    const CRegion* FindRegion(uint8_t id) const;
    const CClut* FindClut(uint8_t id) const;
    const CObject* FindObject(uint16_t id) const;

    CPageComposition page;
    uint64_t pts = 0;
    std::map<uint8_t, CClut> cluts;
    std::map<uint8_t, CRegion> regions;
    std::map<uint16_t, CObject> objects;
    bool shown = false;
};

} // namespace libDVB
