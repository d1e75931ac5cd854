// The system's ANSI code page as the DVB text fallback (Windows build, run under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include "dvb/libDVB/si/AnsiCodePage.h"
#include "dvb/libDVB/si/DVBText.h"
#include "dvb/libDVB/si/win/WinAnsiCodePage.h"

using namespace libDVB;

TEST(WinAnsiCodePage, ConvertsThroughTheSystemCodePage)
{
    const uint8_t ascii[] = {'C', 'h', 'a', 'n', 'n', 'e', 'l', ' ', '5'};
    EXPECT_EQ(SystemAnsiToUtf16(ascii, sizeof ascii), u"Channel 5");
    EXPECT_EQ(SystemAnsiToUtf16(ascii, 0), u"");
    EXPECT_EQ(SystemAnsiToUtf16(nullptr, 4), u"");

    // Every single byte agrees with the system's own answer for it.
    for (int b = 1; b < 256; ++b) {
        const uint8_t byte = static_cast<uint8_t>(b);
        wchar_t expected[4] = {};
        const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(&byte), 1, expected, 4);
        EXPECT_EQ(SystemAnsiToUtf16(&byte, 1), std::u16string(reinterpret_cast<const char16_t*>(expected), n)) << b;
    }
    // Where the system code page is Windows-1252, the native build's fixed table is the same.
    if (GetACP() == 1252) {
        for (int b = 0; b < 256; ++b) {
            const uint8_t byte = static_cast<uint8_t>(b);
            EXPECT_EQ(SystemAnsiToUtf16(&byte, 1), FixedAnsiToUtf16(&byte, 1)) << b;
        }
    }
}

TEST(WinAnsiCodePage, InstalledItServesTheTablesWithoutAMapping)
{
    SetAnsiConverter(&SystemAnsiToUtf16);
    EXPECT_EQ(GetAnsiConverter(), &SystemAnsiToUtf16);
    const uint8_t text[] = {0x0D, 'T', 'V', ' ', '1'}; // a reserved selector
    EXPECT_EQ(ConvertDVBText(text, sizeof text), u"TV 1");
    SetAnsiConverter(nullptr);
    EXPECT_EQ(GetAnsiConverter(), &FixedAnsiToUtf16);
}
