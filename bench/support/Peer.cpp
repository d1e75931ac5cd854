#include "support/Peer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace bench {

bool RunCommand(const std::string& command) { return std::system(command.c_str()) == 0; }

double TimeCommand(const std::string& command, int repeat)
{
    double best = -1;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!RunCommand(command))
            return -1;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (best < 0 || seconds < best)
            best = seconds;
    }
    return best;
}

std::string MediaPath(const std::string& name)
{
    const char* dir = std::getenv("TOLVIK_MEDIA");
    return std::string(dir ? dir : "build/media") + "/" + name;
}

std::vector<uint8_t> LoadMedia(const std::string& path, const std::string& ffmpegArguments)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (!RunCommand("mkdir -p \"$(dirname '" + path + "')\" && ffmpeg -nostdin -loglevel error -y " +
                        ffmpegArguments + " '" + path + "'"))
            return bytes;
        f = std::fopen(path.c_str(), "rb");
        if (!f)
            return bytes;
    }
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
}

} // namespace bench
