// Seed parameter lines for the job-parameter fuzzer, one UTF-16LE file each, into the folder given.
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    std::filesystem::create_directories(argv[1]);
    const char16_t* lines[] = {
        u"/rec 4097 258 45 1 \"C:\\My Videos\\Tolvik recordings\\News 20.ts\"",
        u"/rec 1 2 30 0 C:\\x.ts",
        u"Tolvik.exe /rec 65535 0 0 1 \"D:\\a b\\\\\"",
        u"/rec 1 2 3 0 C:\\old unquoted path.ts",
        u"\"say \"\"hi\"\"\" a\\\"b",
    };
    int n = 0;
    for (const char16_t* line : lines) {
        std::ofstream out(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary);
        for (const char16_t* c = line; *c; ++c) {
            out.put(static_cast<char>(*c & 0xFF));
            out.put(static_cast<char>(*c >> 8));
        }
    }
    return 0;
}
