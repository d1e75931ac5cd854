#include "dvb/libDVB/si/win/WinAnsiCodePage.h"

#include <windows.h>

namespace libDVB {

std::u16string SystemAnsiToUtf16(const uint8_t* data, size_t length)
{
    // A DVB text is at most 255 bytes; anything longer than an int is not ours to convert.
    if (!data || length == 0 || length > 0x7FFFFFFF)
        return std::u16string();
    const char* bytes = reinterpret_cast<const char*>(data);
    const int count = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(length), nullptr, 0);
    if (count <= 0)
        return std::u16string();
    std::u16string text(static_cast<size_t>(count), u'\0');
    const int written =
        MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(length), reinterpret_cast<wchar_t*>(&text[0]), count);
    text.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return text;
}

} // namespace libDVB
