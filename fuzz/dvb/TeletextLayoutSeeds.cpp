// Writes teletext pages in the layout fuzzer's input form: an index page with colours, mosaics and
// page numbers, a double-height subtitle box, and a navigation row with its linked pages.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Row(std::vector<unsigned char>& cells, unsigned row, const std::string& text)
{
    for (size_t c = 0; c < 40 && c < text.size(); ++c)
        cells[row * 40 + c] = static_cast<unsigned char>(text[c]);
}

bool Write(const std::string& path, unsigned char flags, const std::vector<unsigned>& links,
           const std::vector<unsigned char>& cells)
{
    std::vector<unsigned char> bytes = {flags, static_cast<unsigned char>(links.size())};
    for (unsigned page : links) {
        bytes.push_back(static_cast<unsigned char>(page & 0xFF));
        bytes.push_back(static_cast<unsigned char>(page >> 8));
    }
    bytes.insert(bytes.end(), cells.begin(), cells.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const std::string dir = argv[1];
    const std::string command = "mkdir -p '" + dir + "'";
    if (std::system(command.c_str()) != 0)
        return 1;

    std::vector<unsigned char> index(1000, ' ');
    Row(index, 1, "\x01\x1D\x07 INDEX \x1C  News 101  Sport 200");
    Row(index, 2, "\x11\x7F\x1A\x7F\x1E\x12\x13\x1F\x19\x35\x61");
    Row(index, 3, "\x0D\x03Weather 300 \x0C small \x18hidden\x02 shown");
    Row(index, 5, "1234 099 900 899");
    std::vector<unsigned char> subtitle(1000, ' ');
    Row(subtitle, 21, "\x0D\x0B\x0B\x07 A SUBTITLE LINE \x0A\x0A");
    Row(subtitle, 23, "\x0B\x0B\x06 second \x0A\x0A");
    std::vector<unsigned char> navigation = index;
    Row(navigation, 24, "\x01News \x02\x1D\x07Sport \x03Weather \x06More");
    return Write(dir + "/index", 0x48, {}, index) && Write(dir + "/subtitle", 0x01 | 0x04, {}, subtitle) &&
                   Write(dir + "/navigation", 0x04, {120, 130, 0, 140}, navigation)
               ? 0
               : 1;
}
