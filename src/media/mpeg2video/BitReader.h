// The core's bit reader over its input buffer: a 32-bit window, most significant bit first, refilled
// 16 bits at a time. Past the end of the buffered data it reads zeros (the buffer keeps a zeroed
// tail, and a load beyond the allocation yields zero), so a damaged slice can never read outside the
// buffer; callers compare BitPosition with the end of data to notice an overrun.
#pragma once

#include <cstdint>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2video {

inline uint32_t LoadTwoBytes(Mpeg2VideoDecoderCore* c)
{
    const uint8_t* p = c->ptr;
    c->ptr = p + 2;
    if (p + 2 <= c->input + c->capacity + kInputPadding)
        return (uint32_t(p[0]) << 8) | p[1];
    return 0;
}

// After a refill at least 16 bits are valid.
inline void Refill(Mpeg2VideoDecoderCore* c)
{
    if (c->count > 0) {
        c->window |= LoadTwoBytes(c) << c->count;
        c->count -= 16;
    }
}

inline uint32_t LoadByte(Mpeg2VideoDecoderCore* c)
{
    const uint8_t* p = c->ptr;
    c->ptr = p + 1;
    return p < c->input + c->capacity + kInputPadding ? *p : 0;
}

// Refills byte by byte until at least 24 bits are valid.
inline void FillWindow(Mpeg2VideoDecoderCore* c)
{
    while (c->count > -8) {
        c->window |= LoadByte(c) << (8 + c->count);
        c->count -= 8;
    }
}

inline uint32_t PeekBits(const Mpeg2VideoDecoderCore* c, unsigned n) { return c->window >> (32 - n); }
inline void ConsumeBits(Mpeg2VideoDecoderCore* c, unsigned n)
{
    c->window <<= n;
    c->count += int(n);
}
// 1..16 bits.
inline uint32_t ReadBits(Mpeg2VideoDecoderCore* c, unsigned n)
{
    Refill(c);
    const uint32_t v = PeekBits(c, n);
    ConsumeBits(c, n);
    return v;
}
inline uint32_t ReadBit(Mpeg2VideoDecoderCore* c) { return ReadBits(c, 1); }

// Position of the next unread bit, in bits from the buffer start.
inline uint64_t BitPosition(const Mpeg2VideoDecoderCore* c)
{
    return uint64_t(c->ptr - c->input) * 8 - uint64_t(16 - c->count);
}
inline bool PastEnd(const Mpeg2VideoDecoderCore* c) { return BitPosition(c) > uint64_t(c->endPos) * 8; }

// Places the reader at a byte position.
inline void SeekReader(Mpeg2VideoDecoderCore* c, size_t bytePos)
{
    c->ptr = c->input + bytePos;
    c->window = 0;
    c->count = 16;
    c->window = LoadTwoBytes(c) << 16;
    c->window |= LoadTwoBytes(c);
    c->count = -16;
}

// Byte position of the next unread bit, rounded up to a byte boundary.
inline size_t AlignedBytePosition(const Mpeg2VideoDecoderCore* c) { return size_t((BitPosition(c) + 7) >> 3); }

// Searches the next start code prefix from the reader's byte-aligned position; on success the
// reader stands at it (nothing consumed) and true is returned. Otherwise the reader stands where
// the last three bytes begin (a prefix may still be completed by more data) and false is returned.
bool NextStartCode(Mpeg2VideoDecoderCore* c);
// Position of the next start code prefix at or after `from`, or the end of data when none.
size_t FindStartCode(const Mpeg2VideoDecoderCore* c, size_t from);

} // namespace mpeg2video
