#include "dvb/libDVB/subtitle/CSubtitleDisplaySet.h"

namespace libDVB {

namespace {

// The segment's body (from its 7th byte) when the header is well formed, of the expected type and
// its segment_length fits the bytes given.
bool SegmentBody(const uint8_t* segment, uint32_t length, uint8_t type, base::CByteReader* body)
{
    if (!segment)
        return false;
    base::CByteReader reader(segment, length);
    const uint8_t sync = reader.U8();
    const uint8_t segmentType = reader.U8();
    reader.U16(); // page_id
    const uint16_t segmentLength = reader.U16();
    if (reader.Overrun() || sync != CSubtitleDisplaySet::kSyncByte || segmentType != type)
        return false;
    *body = reader.Sub(segmentLength);
    return !reader.Overrun();
}

int Clamp(int value) { return value < 0 ? 0 : value > 255 ? 255 : value; }

} // namespace

uint32_t CSubtitleDisplaySet::ColourFromYCrCb(int y, int cr, int cb)
{
    // Y of 0 stands for full transparency (EN 300 743, 7.2.4).
    if (y == 0)
        return 0;
    const int r = Clamp((256 * y + 351 * (cr - 128)) >> 8);
    const int g = Clamp((256 * y - 87 * (cb - 128) - 179 * (cr - 128)) >> 8);
    const int b = Clamp((256 * y + 444 * (cb - 128)) >> 8);
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

int CSubtitleDisplaySet::PageState(const uint8_t* segment, uint32_t length)
{
    base::CByteReader body;
    if (!SegmentBody(segment, length, kPageComposition, &body) || body.Remaining() < 2)
        return -1;
    body.U8();
    return static_cast<int>((body.U8() >> 2) & 3);
}

HRESULT CSubtitleDisplaySet::ParsePageComposition(const uint8_t* segment, uint32_t length)
{
    base::CByteReader body;
    if (!SegmentBody(segment, length, kPageComposition, &body) || body.Remaining() < 2)
        return E_FAIL;
    CPageComposition parsed;
    parsed.timeOut = body.U8();
    parsed.version = static_cast<uint8_t>(body.Bits(4));
    parsed.state = static_cast<uint8_t>(body.Bits(2));
    body.SkipBits(2);
    while (body.Remaining() >= 6) {
        CRegionReference ref;
        ref.regionId = body.U8();
        body.U8(); // reserved
        ref.horizontal = body.U16();
        ref.vertical = body.U16();
        parsed.regions.push_back(ref);
    }
    page = std::move(parsed);
    return S_OK;
}

HRESULT CSubtitleDisplaySet::ParseRegionComposition(const uint8_t* segment, uint32_t length)
{
    base::CByteReader body;
    if (!SegmentBody(segment, length, kRegionComposition, &body) || body.Remaining() < 10)
        return E_FAIL;
    CRegion region;
    region.id = body.U8();
    body.SkipBits(4); // region_version_number
    region.fill = body.Bit();
    body.SkipBits(3);
    region.width = body.U16();
    region.height = body.U16();
    region.compatibility = static_cast<uint8_t>(body.Bits(3));
    region.depth = static_cast<uint8_t>(body.Bits(3));
    body.SkipBits(2);
    region.clutId = body.U8();
    region.code8 = body.U8();
    region.code4 = static_cast<uint8_t>(body.Bits(4));
    region.code2 = static_cast<uint8_t>(body.Bits(2));
    body.SkipBits(2);
    while (body.Remaining() >= 6) {
        CObjectReference ref = {};
        ref.objectId = body.U16();
        ref.type = static_cast<uint8_t>(body.Bits(2));
        ref.provider = static_cast<uint8_t>(body.Bits(2));
        ref.horizontal = static_cast<uint16_t>(body.Bits(12));
        body.SkipBits(4);
        ref.vertical = static_cast<uint16_t>(body.Bits(12));
        if (ref.type == 1 || ref.type == 2) {
            ref.foreground = body.U8();
            ref.background = body.U8();
        }
        region.objects.push_back(ref);
    }
    if (body.Overrun())
        return E_FAIL;
    regions[region.id] = std::move(region);
    return S_OK;
}

HRESULT CSubtitleDisplaySet::ParseClutDefinition(const uint8_t* segment, uint32_t length)
{
    base::CByteReader body;
    if (!SegmentBody(segment, length, kClutDefinition, &body) || body.Remaining() < 2)
        return E_FAIL;
    const uint8_t id = body.U8();
    body.U8(); // CLUT_version_number
    const auto existing = cluts.find(id);
    CClut clut = existing != cluts.end() ? existing->second : CClut();
    clut.id = id;
    while (body.Remaining() >= 4) {
        const uint8_t entry = body.U8();
        const uint8_t flags = body.U8();
        int y, cr, cb;
        if (flags & 1) { // full_range_flag
            y = body.U8();
            cr = body.U8();
            cb = body.U8();
            body.U8(); // T
        } else {
            y = static_cast<int>(body.Bits(6)) << 2;
            cr = static_cast<int>(body.Bits(4)) << 4;
            cb = static_cast<int>(body.Bits(4)) << 4;
            body.Bits(2); // T
        }
        if (body.Overrun())
            return E_FAIL;
        const uint32_t colour = ColourFromYCrCb(y, cr, cb);
        if ((flags & 0x80) && entry < 4)
            clut.entries2[entry] = colour;
        if ((flags & 0x40) && entry < 16)
            clut.entries4[entry] = colour;
        if (flags & 0x20)
            clut.entries8[entry] = colour;
    }
    cluts[id] = clut;
    return S_OK;
}

HRESULT CSubtitleDisplaySet::ParseObjectData(const uint8_t* segment, uint32_t length)
{
    base::CByteReader body;
    if (!SegmentBody(segment, length, kObjectData, &body) || body.Remaining() < 3)
        return E_FAIL;
    CObject object;
    object.id = body.U16();
    body.SkipBits(4); // object_version_number
    object.codingMethod = static_cast<uint8_t>(body.Bits(2));
    body.SkipBits(2);
    const size_t size = body.Remaining();
    const uint8_t* data = body.Take(size);
    if (object.codingMethod == 0) {
        // Both field blocks must lie inside the segment.
        base::CByteReader fields(data, size);
        const uint32_t top = fields.U16();
        const uint32_t bottom = fields.U16();
        if (fields.Overrun() || top + bottom > fields.Remaining())
            return E_FAIL;
    }
    if (size)
        object.data.assign(data, data + size);
    objects[object.id] = std::move(object);
    return S_OK;
}

const CSubtitleDisplaySet::CRegion* CSubtitleDisplaySet::FindRegion(uint8_t id) const
{
    const auto it = regions.find(id);
    return it == regions.end() ? nullptr : &it->second;
}

const CSubtitleDisplaySet::CClut* CSubtitleDisplaySet::FindClut(uint8_t id) const
{
    const auto it = cluts.find(id);
    return it == cluts.end() ? nullptr : &it->second;
}

const CSubtitleDisplaySet::CObject* CSubtitleDisplaySet::FindObject(uint16_t id) const
{
    const auto it = objects.find(id);
    return it == objects.end() ? nullptr : &it->second;
}

} // namespace libDVB
