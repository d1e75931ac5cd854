// The scan wizard's manual fields are typed by the user: any text must be judged without a crash
// or undefined arithmetic, and a frequency accepted must be the rounded value of its megahertz.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plintor/ManualEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string fields[3];
    int which = 0;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (c == u'|' && which < 2)
            ++which;
        else
            fields[which].push_back(c);
    }
    for (int type = 0; type <= 6; ++type)
        plintor::IsManualEntryValid(type, fields[0], fields[1], fields[2]);
    int32_t kHz = 0;
    if (plintor::ReadFrequencyKHz(fields[0], &kHz)) {
        // The reference: the leading blanks skipped, then the plain decimal number (no exponent).
        std::string number;
        size_t i = 0;
        while (i < fields[0].size() && (fields[0][i] == u' ' || (fields[0][i] >= u'\t' && fields[0][i] <= u'\r')))
            ++i;
        for (; i < fields[0].size(); ++i) {
            const char16_t c = fields[0][i];
            if ((c >= u'0' && c <= u'9') || c == u'.' || c == u',' || (number.empty() && (c == u'+' || c == u'-')))
                number.push_back(c == u',' ? '.' : static_cast<char>(c));
            else
                break;
        }
        const double mhz = std::strtod(number.c_str(), nullptr);
        if (std::fabs(mhz * 1000.0 - kHz) > 0.5 + 1e-6 * std::fabs(mhz * 1000.0))
            __builtin_trap();
    }
    uint8_t address[4];
    plintor::ReadIPv4(fields[0], address);
    return 0;
}
