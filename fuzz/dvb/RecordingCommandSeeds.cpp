// Seeds for the recording command reader: argument lists as the viewer receives them.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "SeedWriter.h"

namespace {

std::vector<uint8_t> Pack(const std::vector<std::u16string>& arguments)
{
    std::vector<uint8_t> bytes;
    for (size_t a = 0; a < arguments.size(); ++a) {
        if (a > 0)
            bytes.insert(bytes.end(), {0, 0});
        for (char16_t c : arguments[a])
            bytes.insert(bytes.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const std::string folder = argv[1];
    mkdir(folder.c_str(), 0755);
    const std::vector<std::vector<std::u16string>> seeds = {
        {u"/rec", u"1025", u"28106", u"90", u"1", u"D:\\rec.mpg"},
        {u"C:\\Tolvik\\Tolvik.exe", u"/rec", u"1", u"2", u"0", u"0"},
        {u"/rec", u"65535", u"0", u"9223372036854775807", u"1", u"C:\\My Videos", u"a b.mpg"},
        {u"/rec", u"-1", u"2", u"3", u"1"},
    };
    bool ok = true;
    for (size_t i = 0; i < seeds.size(); ++i)
        ok = fuzz::WriteSeed(folder, "seed" + std::to_string(i), Pack(seeds[i])) && ok;
    return ok ? 0 : 1;
}
