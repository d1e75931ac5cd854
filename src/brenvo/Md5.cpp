#include "brenvo/Md5.h"

#include <cstring>

namespace {

uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

uint32_t LoadLE32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void StoreLE32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// RFC 1321, 3.4: the shift amounts of the four rounds and T[i] = floor(2^32 * |sin(i + 1)|).
const int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                        5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                        4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                        6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

const uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

} // namespace

void Md5Init(Md5Context& context)
{
    // RFC 1321, 3.3: words A, B, C, D.
    context.state[0] = 0x67452301;
    context.state[1] = 0xefcdab89;
    context.state[2] = 0x98badcfe;
    context.state[3] = 0x10325476;
    context.bitCount = 0;
    std::memset(context.buffer, 0, sizeof(context.buffer));
}

void Md5Transform(uint32_t state[4], const uint8_t block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = LoadLE32(block + 4 * i);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int k;
        switch (i / 16) {
        case 0: f = (b & c) | (~b & d); k = i; break;                 // F, round 1
        case 1: f = (b & d) | (c & ~d); k = (5 * i + 1) % 16; break;  // G, round 2
        case 2: f = b ^ c ^ d; k = (3 * i + 5) % 16; break;           // H, round 3
        default: f = c ^ (b | ~d); k = (7 * i) % 16; break;           // I, round 4
        }
        const uint32_t next = b + RotateLeft(a + f + x[k] + kSine[i], kShift[i]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void Md5Update(Md5Context& context, const void* data, size_t length)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    size_t used = static_cast<size_t>((context.bitCount >> 3) & 63);
    context.bitCount += static_cast<uint64_t>(length) << 3;
    if (used) {
        const size_t take = length < 64 - used ? length : 64 - used;
        std::memcpy(context.buffer + used, bytes, take);
        used += take;
        bytes += take;
        length -= take;
        if (used < 64)
            return;
        Md5Transform(context.state, context.buffer);
    }
    for (; length >= 64; bytes += 64, length -= 64)
        Md5Transform(context.state, bytes);
    if (length)
        std::memcpy(context.buffer, bytes, length);
}

void Md5Final(uint8_t digest[16], Md5Context& context)
{
    uint8_t length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<uint8_t>(context.bitCount >> (8 * i));
    // One 0x80 byte, then zeros up to 56 mod 64, then the original length in bits.
    const size_t used = static_cast<size_t>((context.bitCount >> 3) & 63);
    static const uint8_t kPadding[64] = {0x80};
    Md5Update(context, kPadding, used < 56 ? 56 - used : 120 - used);
    Md5Update(context, length, 8);
    for (int i = 0; i < 4; ++i)
        StoreLE32(digest + 4 * i, context.state[i]);
    Md5Init(context); // nothing of the message stays behind
}

CStringA DigestToHex(const uint8_t digest[16])
{
    CStringA hex;
    for (int i = 0; i < 16; ++i) {
        CStringA pair;
        pair.Format("%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

CStringA Md5Hex(const CStringA& text)
{
    Md5Context context;
    Md5Init(context);
    Md5Update(context, text.GetString(), static_cast<size_t>(text.GetLength()));
    uint8_t digest[16];
    Md5Final(digest, context);
    return DigestToHex(digest);
}
