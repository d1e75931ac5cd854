// Writes fuzz seeds: one file per seed in the folder given on the command line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace fuzz {

inline bool WriteSeed(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string path = folder + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace fuzz
