// Reading helpers the table bodies share.
#pragma once

#include "base/ByteReader.h"
#include "base/Result.h"
#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

// Reads a 12-bit loop length (after `reservedBits` reserved bits) and the descriptor loop it covers.
// E_FAIL when the length claims more bytes than remain or the loop does not parse.
HRESULT ReadDescriptorLoop(base::CByteReader& reader, unsigned reservedBits, CDescriptorList& list);

} // namespace libDVB

