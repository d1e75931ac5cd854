#include "support/TestMedia.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

namespace test {

namespace {

std::string FromEnvironment(const char* variable)
{
    const char* value = std::getenv(variable);
    std::string path = value ? value : "";
#ifdef _WIN32
    // Wine passes the Unix environment through; its Z: drive is the Unix root.
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        path = "Z:" + path;
    }
#endif
    return path;
}

std::string Join(const std::string& folder, const std::string& name)
{
#ifdef _WIN32
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    std::string relative = name;
    for (char& c : relative)
        if (c == '/' || c == '\\')
            c = separator;
    return folder + separator + relative;
}

} // namespace

std::string MediaPath(const std::string& name) { return Join(FromEnvironment("TOLVIK_MEDIA"), name); }
std::string SourcePath(const std::string& relative) { return Join(FromEnvironment("TOLVIK_SOURCE"), relative); }
std::string ProgramPath(const std::string& relative) { return Join(FromEnvironment("TOLVIK_PROGRAM"), relative); }

bool FileExists(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_NE(f, nullptr) << "cannot open " << path;
    if (!f)
        return bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
}

} // namespace test
