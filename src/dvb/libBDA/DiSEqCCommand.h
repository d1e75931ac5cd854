// The property buffer that carries one DiSEqC 1.0 committed-switch command to a tuner
// (EUTELSAT DiSEqC bus functional description 4.2: framing 0xE0, address 0x10 "any LNB or
// switcher", command 0x38 "write N0"). The buffer is 188 bytes: 151 message bytes, 9 reply bytes,
// then seven little-endian 32-bit fields (lengths, amplitude, tone burst, version, receive mode,
// last-message flag).
#pragma once

#include <cstdint>

#include "base/Result.h"

namespace libBDA {

constexpr uint32_t kDiSEqCBufferSize = 188;
constexpr uint32_t kDiSEqCMaxPort = 6;

// Port 0 sends nothing (S_FALSE); ports 1..6 fill the buffer (S_OK); any other port is refused
// with E_INVALIDARG, since no switch byte is defined for it. `option` sets the data bit that the
// engine drives from horizontal polarisation.
HRESULT BuildDiSEqCCommand(uint32_t port, bool option, uint8_t (&buffer)[kDiSEqCBufferSize]);

} // namespace libBDA
