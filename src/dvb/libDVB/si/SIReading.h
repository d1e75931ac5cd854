// Reading helpers the table bodies share.
#pragma once

#include "base/ByteReader.h"
#include "base/Result.h"
#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

// Reads a 12-bit loop length (after `reservedBits` reserved bits) and steps over the loop it covers.
// Broadcasts do send lengths that run too long: a length that claims more bytes than remain is cut
// to what remains, so it never reads past the body and what precedes it is kept.
base::CByteReader ReadLoop(base::CByteReader& reader, unsigned reservedBits);

// ReadLoop, and the descriptors of that loop.
void ReadDescriptorLoop(base::CByteReader& reader, unsigned reservedBits, CDescriptorList& list);

} // namespace libDVB
