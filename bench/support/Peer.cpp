#include "support/Peer.h"

#include <chrono>
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

} // namespace bench
