// The version-list reply of the update script, line by line as the updater reads it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "brenvo/CVersionEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string reply(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= reply.size()) {
        size_t end = reply.find('\n', start);
        if (end == std::string::npos)
            end = reply.size();
        CVersionEntry entry;
        if (entry.Parse(CStringA(reply.substr(start, end - start))) && entry.m_versionId < 0)
            __builtin_trap(); // an accepted line always has a whole, non-negative id
        start = end + 1;
    }
    return 0;
}
