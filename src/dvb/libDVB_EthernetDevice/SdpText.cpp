#include "dvb/libDVB_EthernetDevice/SdpText.h"

#include <cstdint>

#include "dvb/libDVB/si/AnsiCodePage.h"

namespace libDVB_EthernetDevice {

namespace {

// RFC 3629, 4: shortest forms only, no surrogates, nothing above U+10FFFF.
bool DecodeUtf8(const uint8_t* p, size_t n, std::u16string& out)
{
    out.clear();
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        const uint8_t lead = p[i];
        uint32_t cp;
        size_t extra;
        uint32_t minimum;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F, extra = 1, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F, extra = 2, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07, extra = 3, minimum = 0x10000;
        } else {
            return false;
        }
        if (n - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 | (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += extra + 1;
    }
    return true;
}

} // namespace

std::u16string DecodeSdpText(const char* text, size_t length)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    std::u16string out;
    if (length == 0 || DecodeUtf8(bytes, length, out))
        return out;
    return libDVB::GetAnsiConverter()(bytes, length);
}

} // namespace libDVB_EthernetDevice
