// The MD5 message digest (RFC 1321), our own code: the updater's login hash is made of it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/CStringA.h"

struct Md5Context {
    uint32_t state[4];
    uint64_t bitCount;     // length of the message so far, in bits (mod 2^64)
    uint8_t buffer[64];    // the unfinished block
};

void Md5Init(Md5Context& context);
// Hashes one 64-byte block into state (RFC 1321, 3.4).
void Md5Transform(uint32_t state[4], const uint8_t block[64]);
void Md5Update(Md5Context& context, const void* data, size_t length);
// Pads the message (RFC 1321, 3.1 and 3.2) and writes the 16 digest bytes, low byte first.
void Md5Final(uint8_t digest[16], Md5Context& context);
// Each of the 16 bytes as "%02x".
CStringA DigestToHex(const uint8_t digest[16]);
// The 32 lowercase hexadecimal digits of the digest of the text's bytes.
CStringA Md5Hex(const CStringA& text);
