// Running a peer program (ffmpeg) beside our own code in one benchmark run, to print a ratio.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// Runs a shell command `repeat` times and returns the best wall-clock seconds of one run
// (negative when the command failed).
double TimeCommand(const std::string& command, int repeat = 3);
// The peer's own decode time: the user CPU seconds ffmpeg reports with -benchmark for
// `arguments` (input options and input, without output), less those of the same command stopped
// after its first frame by `firstFrame` (start-up, probing, opening), best of `repeat` runs each.
// The output goes to the null muxer. Negative when a run failed.
double PeerDecodeSeconds(const std::string& arguments, const std::string& firstFrame, int repeat = 5);
// Our work and the peer's decode, timed the same way in alternating rounds so that a change of
// the machine's load between them does not tilt the ratio: the process is held on the core it
// runs on (ffmpeg inherits that), and each round times one call of `ours` and one run of the peer
// in user CPU seconds, as ffmpeg's -benchmark reports them. The peer's decode is its whole run less
// the same run stopped after its first frame by `firstFrame`. Best of the rounds for each side.
struct Comparison {
    double ours = -1, peer = -1; // seconds; negative when a run failed
    int cpu = -1, rounds = 0;
    // "best of N alternating rounds on CPU n, user CPU time"
    std::string How() const;
};
Comparison CompareWithPeer(const std::function<void()>& ours, const std::string& arguments,
                           const std::string& firstFrame, int rounds = 7);
// Where the benchmark media live (TOLVIK_MEDIA, default build/media).
std::string MediaPath(const std::string& name);
// The bytes of a benchmark medium (MediaPath(name)), made first with ffmpeg from `arguments`
// (inputs and output options; the file name is appended) when it does not exist; empty on failure.
std::vector<uint8_t> LoadMedia(const std::string& name, const std::string& arguments);
// Runs a shell command once; true when it exited 0.
bool RunCommand(const std::string& command);

} // namespace bench
