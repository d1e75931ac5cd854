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

#include "dvb/libDVB/si/CTransportStreamEntry.h"

namespace libDVB {

// The NIT and BAT body: the first descriptor loop, then transport_stream_loop_length and the
// transport streams it covers. E_FAIL when a length claims more than remains.
HRESULT ReadTransportStreamTable(base::CByteReader& body, CDescriptorList& first,
                                 std::vector<CTransportStreamEntry>& streams);

} // namespace libDVB
