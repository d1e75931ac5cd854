// CString: formatting of every pattern the programs use, and the text operations.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>

#include "framework/CString.h"
#include "CStringPrinter.h"

namespace {

CString Formatted(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return text;
}

TEST(CStringFormatTest, WideStringsAreWholeStrings)
{
    // A recording name: each %s takes a whole wide string, not its first letter.
    EXPECT_EQ(CString(L"News - Weather (1.2.2007).mpg"),
              Formatted(L"%s - %s (%s).mpg", L"News", L"Weather", L"1.2.2007"));
    EXPECT_EQ(CString(L"Slovenčina (slovenčina)"), Formatted(L"%s (%s)", L"Slovenčina", L"slovenčina"));
    EXPECT_EQ(CString(L"Language 2 (Unknown)"), Formatted(L"%s %d (%s)", L"Language", 2, L"Unknown"));
    EXPECT_EQ(CString(L"Language 1 (Unknown) Teletext"),
              Formatted(L"%s %d (%s) %s", L"Language", 1, L"Unknown", L"Teletext"));
    EXPECT_EQ(CString(L"Language 1 (Unknown) "), Formatted(L"%s %d (%s) %s", L"Language", 1, L"Unknown", L""));
    EXPECT_EQ(CString(L"Please close Tolvik before running update.\nUpdate will now exit"),
              Formatted(L"Please close %s before running update.\nUpdate will now exit", L"Tolvik"));
    EXPECT_EQ(CString(L"Mon 12:00 - 13:00"), Formatted(L"%s %s - %s", L"Mon", L"12:00", L"13:00"));
    EXPECT_EQ(CString(L"ČT1  [7]"), Formatted(L"%s  [%d]", L"ČT1", 7));
    EXPECT_EQ(CString(L"(null)"), Formatted(L"%s", static_cast<const wchar_t*>(nullptr)));
}

TEST(CStringFormatTest, NarrowArgumentsNeedTheirOwnPrefix)
{
    EXPECT_EQ(CString(L"abc|xyz|W|q"), Formatted(L"%hs|%S|%c|%hc", "abc", "xyz", L'W', 'q'));
    EXPECT_EQ(CString(L"wide"), Formatted(L"%ls", L"wide"));
}

TEST(CStringFormatTest, IntegersWithPrecisionAndLength)
{
    EXPECT_EQ(CString(L"05"), Formatted(L"%.2d", 5));
    EXPECT_EQ(CString(L"12"), Formatted(L"%.2d", 12));
    EXPECT_EQ(CString(L"1003"), Formatted(L"%.4d", 1003));
    EXPECT_EQ(CString(L"0042"), Formatted(L"%.4d", 42));
    EXPECT_EQ(CString(L"007"), Formatted(L"%.3d", 7));
    EXPECT_EQ(CString(L"100"), Formatted(L"%.3d", 100));
    // With a precision the 0 flag is ignored; the precision alone pads.
    EXPECT_EQ(CString(L"ČT2 0005"), Formatted(L"%s %0.4d", L"ČT2", 5));
    EXPECT_EQ(CString(L"Joj 03"), Formatted(L"%s %0.2d", L"Joj", 3));
    EXPECT_EQ(CString(L"  -7"), Formatted(L"%4d", -7));
    EXPECT_EQ(CString(L"-007"), Formatted(L"%04d", -7));
    EXPECT_EQ(CString(L"-7  |"), Formatted(L"%-4d|", -7));
    EXPECT_EQ(CString(L"-2147483648"), Formatted(L"%d", INT32_MIN));
    EXPECT_EQ(CString(L"4294967295"), Formatted(L"%u", 0xFFFFFFFFu));
    EXPECT_EQ(CString(L"9223372036854775807 -9223372036854775808"),
              Formatted(L"%I64d %I64d", INT64_MAX, INT64_MIN));
    EXPECT_EQ(CString(L"5400000"), Formatted(L"%I64d", static_cast<long long>(90) * 60000));
    EXPECT_EQ(CString(L"/rec 4097 28106 90 1 C:\\rec\\film.mpg"),
              Formatted(L"/rec %d %d %I64d %s %s", 4097, 28106, 90LL, L"1", L"C:\\rec\\film.mpg"));
    EXPECT_EQ(CString(L"239.1.2.3"), Formatted(L"%d.%d.%d.%d", 239, 1, 2, 3));
    EXPECT_EQ(CString(L"239.1.2.3:1234"), Formatted(L"%s:%d", L"239.1.2.3", 1234));
    EXPECT_EQ(CString(L"QORSR_17"), Formatted(L"QORSR_%d", 17));
    EXPECT_EQ(CString(L"2007-1-2"), Formatted(L"%d-%d-%d", 2007, 1, 2));
    EXPECT_EQ(CString(L"3. News"), Formatted(L"%d. %s", 3, L"News"));
    EXPECT_EQ(CString(L"0a|ff|7F|0x1f"), Formatted(L"%02x|%x|%X|%#x", 10, 255, 127, 31));
    EXPECT_EQ(CString(L"-1 65535 -1"), Formatted(L"%hd %hu %ld", 65535, 65535, -1L));
    EXPECT_EQ(CString(L"|"), Formatted(L"%.0d|", 0));
}

TEST(CStringFormatTest, FloatsPercentAndOddDirectives)
{
    EXPECT_EQ(CString(L"For one recording Tolvik takes mostly 80% of your actual disk space (currently 12.3 GB)"),
              Formatted(L"For one recording Tolvik takes mostly %.1d%% of your actual disk space (currently %.1f GB)",
                        80, 12.34));
    EXPECT_EQ(CString(L"1.500000"), Formatted(L"%f", 1.5));
    EXPECT_EQ(CString(L"  2.50"), Formatted(L"%6.2f", 2.5));
    EXPECT_EQ(CString(L"Normal size (100%) Alt+2"), Formatted(L"Normal size (100%%) Alt+2"));
    // A directive without conversion at the end stays as text; %n writes nothing.
    EXPECT_EQ(CString(L"50 %"), Formatted(L"%d %", 50));
    EXPECT_EQ(CString(L"a%nb"), Formatted(L"a%nb"));
    EXPECT_EQ(CString(L"x:    ab"), Formatted(L"x:%*s", 6, L"ab"));
    EXPECT_EQ(CString(L"abc"), Formatted(L"%.3s", L"abcdef"));
}

TEST(CStringFormatTest, FormattingMayReadItsOwnText)
{
    CString text(L"News");
    text.Format(L"%s - %s", static_cast<const wchar_t*>(text), static_cast<const wchar_t*>(text));
    EXPECT_EQ(CString(L"News - News"), text);
}

TEST(CStringTest, PartsAndSearch)
{
    CString path(L"C:\\rec\\News (1.2.2007).mpg");
    EXPECT_EQ(26, path.GetLength());
    EXPECT_EQ(6, path.ReverseFind(L'\\'));
    EXPECT_EQ(CString(L"C:\\rec\\"), path.Left(path.ReverseFind(L'\\') + 1));
    EXPECT_EQ(CString(L"News (1.2.2007).mpg"), path.Mid(path.ReverseFind(L'\\') + 1));
    EXPECT_EQ(CString(L"News"), path.Mid(7, 4));
    EXPECT_EQ(CString(L".mpg"), path.Right(4));
    EXPECT_EQ(path, path.Left(1000));
    EXPECT_EQ(CString(), path.Left(-3));
    EXPECT_EQ(CString(), path.Mid(100));
    EXPECT_EQ(CString(L"C:"), path.Mid(-5, 2));
    EXPECT_EQ(path, path.Right(99));
    EXPECT_EQ(22, path.Find(L".mpg"));
    EXPECT_EQ(-1, path.Find(L".avi"));
    EXPECT_EQ(2, path.Find(L'\\'));
    EXPECT_EQ(6, path.Find(L'\\', 3));
    EXPECT_EQ(-1, path.Find(L'\\', 500));
    EXPECT_EQ(-1, path.Find(L'C', -1));
    EXPECT_EQ(-1, CString().ReverseFind(L'x'));
    EXPECT_EQ(L'N', path[7]);
}

TEST(CStringTest, ReplaceTrimCaseAndCompare)
{
    CString name(L"News (1.2.2007).mpg");
    EXPECT_EQ(1, name.Replace(L".mpg", L" - 20-15-00.mpg"));
    EXPECT_EQ(CString(L"News (1.2.2007) - 20-15-00.mpg"), name);
    CString time(L"20:15:00");
    EXPECT_EQ(2, time.Replace(L":", L"-"));
    EXPECT_EQ(CString(L"20-15-00"), time);
    EXPECT_EQ(0, time.Replace(L"", L"x"));
    EXPECT_EQ(3, time.Replace(L'0', L'o'));
    CString grow(L"aaa");
    EXPECT_EQ(3, grow.Replace(L"a", L"aa"));
    EXPECT_EQ(CString(L"aaaaaa"), grow);

    CString padded(L" \t C:\\rec\\film.mpg \r\n");
    EXPECT_EQ(CString(L"C:\\rec\\film.mpg"), padded.Trim());
    CString right(L"word  ");
    EXPECT_EQ(CString(L"word"), right.TrimRight());
    CString blank(L"   ");
    EXPECT_TRUE(blank.Trim().IsEmpty());

    CString ext(L".MpG");
    EXPECT_EQ(CString(L".mpg"), ext.MakeLower());
    EXPECT_EQ(CString(L".MPG"), ext.MakeUpper());

    EXPECT_EQ(0, CString(L"/rec").Compare(L"/rec"));
    EXPECT_GT(0, CString(L"/REC").Compare(L"/rec")); // case-sensitive
    EXPECT_LT(0, CString(L"b").Compare(L"a"));
    EXPECT_TRUE(CString(L"a") == L"a");
    EXPECT_TRUE(L"a" != CString(L"b"));
}

TEST(CStringTest, BuildingAndBuffers)
{
    CString text = CString(L"Tolvik") + L" v" + CString(L"1.0");
    text += L'!';
    text += CString(L"?");
    EXPECT_EQ(CString(L"Tolvik v1.0!?"), text);
    EXPECT_EQ(CString(L"\\x"), L'\\' + CString(L"x"));
    CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(0, std::wcslen(static_cast<const wchar_t*>(empty)));
    text.Empty();
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(CString(L"---"), CString(L'-', 3));

    // A module path written into a 260-character buffer, then cut at its terminator.
    CString folder;
    wchar_t* buffer = folder.GetBuffer(260);
    std::wcscpy(buffer, L"C:\\Program Files\\Tolvik\\Tolvik.exe");
    folder.ReleaseBuffer();
    EXPECT_EQ(34, folder.GetLength());
    folder.GetBuffer(0)[folder.ReverseFind(L'\\')] = 0;
    folder.ReleaseBuffer();
    EXPECT_EQ(CString(L"C:\\Program Files\\Tolvik"), folder);
    folder.GetBuffer(4);
    folder.ReleaseBuffer(2);
    EXPECT_EQ(CString(L"C:"), folder);
    folder.ReleaseBuffer(50); // longer than the buffer: kept as it is
    EXPECT_EQ(CString(L"C:"), folder);
    text = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(text.IsEmpty());
    text = L"self";
    text = static_cast<const wchar_t*>(text) + 1;
    EXPECT_EQ(CString(L"elf"), text);
}

} // namespace
