// Texts of an SDP description (RFC 4566, 5: UTF-8 unless a=charset says otherwise).
#pragma once

#include <cstddef>
#include <string>

namespace libDVB_EthernetDevice {

// Well-formed UTF-8 is decoded as such; anything else (an announcer that writes an 8-bit code page)
// goes through the program's ANSI converter.
std::u16string DecodeSdpText(const char* text, size_t length);

} // namespace libDVB_EthernetDevice
