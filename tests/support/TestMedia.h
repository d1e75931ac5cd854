// Access to the media that the ctest fixtures generate at test time (ffmpeg and friends).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// Full path of a generated media file; under Wine the Unix path becomes a Z: path.
std::string MediaPath(const std::string& name);
// Path of a file in the source tree (TOLVIK_SOURCE).
std::string SourcePath(const std::string& relative);
// Path of a file in the built program folder (TOLVIK_PROGRAM): the skin, the logos, the programs.
std::string ProgramPath(const std::string& relative);
// Reads a whole file; fails the current test when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// Small deterministic generator for tests (xorshift), so failures reproduce.
class CTestRandom {
public:
    explicit CTestRandom(uint64_t seed) : m_state(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    uint64_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    uint32_t Below(uint32_t bound) { return bound ? static_cast<uint32_t>(Next() % bound) : 0; }

private:
    uint64_t m_state;
};

} // namespace test
