#include "support/Peer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

namespace {

// Best user CPU seconds of an ffmpeg run over `repeat` runs, or negative.
double BestUserSeconds(const std::string& command, int repeat)
{
    double best = -1;
    for (int i = 0; i < repeat; ++i) {
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return -1;
        double seconds = -1;
        char line[512];
        while (std::fgets(line, sizeof line, pipe))
            if (const char* u = std::strstr(line, "bench: utime="))
                seconds = std::atof(u + std::strlen("bench: utime="));
        if (pclose(pipe) != 0 || seconds < 0)
            return -1;
        if (best < 0 || seconds < best)
            best = seconds;
    }
    return best;
}

} // namespace

double PeerDecodeSeconds(const std::string& arguments, const std::string& firstFrame, int repeat)
{
    const std::string ffmpeg = "ffmpeg -nostdin -hide_banner -nostats -loglevel info -benchmark ";
    const double whole = BestUserSeconds(ffmpeg + arguments + " -f null - 2>&1", repeat);
    const double start = BestUserSeconds(ffmpeg + arguments + " " + firstFrame + " -f null - 2>&1", repeat);
    if (whole < 0 || start < 0)
        return -1;
    return whole > start ? whole - start : whole;
}

std::vector<uint8_t> LoadMedia(const std::string& name, const std::string& arguments)
{
    std::vector<uint8_t> bytes;
    const std::string path = MediaPath(name);
    if (!RunCommand("test -s '" + path + "'") &&
        !RunCommand("mkdir -p \"$(dirname '" + path + "')\" && ffmpeg -nostdin -loglevel error -y " + arguments +
                    " '" + path + ".tmp' && mv '" + path + ".tmp' '" + path + "'"))
        return bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(f);
    }
    return bytes;
}

std::string MediaPath(const std::string& name)
{
    const char* dir = std::getenv("TOLVIK_MEDIA");
    return std::string(dir ? dir : "build/media") + "/" + name;
}

} // namespace bench
