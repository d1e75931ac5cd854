#include "support/Peer.h"

#include <sched.h>
#include <sys/resource.h>

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

// The user CPU seconds one ffmpeg run reports, or negative.
double UserSeconds(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    double seconds = -1;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
        if (const char* u = std::strstr(line, "bench: utime="))
            seconds = std::atof(u + std::strlen("bench: utime="));
    return pclose(pipe) == 0 ? seconds : -1;
}

void KeepBest(double& best, double seconds)
{
    if (seconds >= 0 && (best < 0 || seconds < best))
        best = seconds;
}

const std::string kFfmpeg = "ffmpeg -nostdin -hide_banner -nostats -loglevel info -benchmark ";

std::string WholeRun(const std::string& arguments) { return kFfmpeg + arguments + " -f null - 2>&1"; }

std::string FirstFrameRun(const std::string& arguments, const std::string& firstFrame)
{
    return kFfmpeg + arguments + " " + firstFrame + " -f null - 2>&1";
}

double Decode(double whole, double start)
{
    if (whole < 0 || start < 0)
        return -1;
    return whole > start ? whole - start : whole;
}

// The calling thread's user CPU seconds.
double ThreadUserSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) * 1e-6;
}

} // namespace

double PeerDecodeSeconds(const std::string& arguments, const std::string& firstFrame, int repeat)
{
    double whole = -1, start = -1;
    for (int i = 0; i < repeat; ++i) {
        KeepBest(whole, UserSeconds(WholeRun(arguments)));
        KeepBest(start, UserSeconds(FirstFrameRun(arguments, firstFrame)));
    }
    return Decode(whole, start);
}

std::string Comparison::How() const
{
    return "best of " + std::to_string(rounds) + " alternating rounds on CPU " + std::to_string(cpu) +
           ", user CPU time of both";
}

Comparison CompareWithPeer(const std::function<void()>& ours, const std::string& arguments,
                           const std::string& firstFrame, int rounds)
{
    Comparison c;
    c.rounds = rounds;
    cpu_set_t before, one;
    sched_getaffinity(0, sizeof before, &before);
    c.cpu = sched_getcpu();
    CPU_ZERO(&one);
    CPU_SET(c.cpu, &one);
    sched_setaffinity(0, sizeof one, &one);
    double whole = -1, start = -1;
    for (int i = 0; i < rounds; ++i) {
        const double t0 = ThreadUserSeconds();
        ours();
        KeepBest(c.ours, ThreadUserSeconds() - t0);
        KeepBest(whole, UserSeconds(WholeRun(arguments)));
        KeepBest(start, UserSeconds(FirstFrameRun(arguments, firstFrame)));
    }
    sched_setaffinity(0, sizeof before, &before);
    c.peer = Decode(whole, start);
    return c;
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
