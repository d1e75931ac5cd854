// Running a peer program (ffmpeg) beside our own code in one benchmark run, to print a ratio.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Runs a shell command `repeat` times and returns the best wall-clock seconds of one run
// (negative when the command failed).
double TimeCommand(const std::string& command, int repeat = 3);
// Where the benchmark media live (TOLVIK_MEDIA, default build/media).
std::string MediaPath(const std::string& name);
// Runs a shell command once; true when it exited 0.
bool RunCommand(const std::string& command);
// The bytes of a benchmark medium, made first with `ffmpeg <arguments> <path>` when it is missing
// (empty when that fails).
std::vector<uint8_t> LoadMedia(const std::string& path, const std::string& ffmpegArguments);

} // namespace bench
