// Arbitrary bytes as an "\epg.dat" cache: the loader must keep what is sound and never overread.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dvb/libDVB/epg/CEPGCacheFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    std::vector<libDVB::CEITEvent> events;
    libDVB::CEPGCacheFile::Read(bytes, 1'800'000'000, [&](libDVB::CEITEvent&& e) { events.push_back(std::move(e)); });
    // What was read must write back to records the loader reads again identically.
    std::vector<const libDVB::CEITEvent*> pointers;
    for (const auto& e : events)
        pointers.push_back(&e);
    const auto written = libDVB::CEPGCacheFile::Write(pointers, 1'800'000'000);
    size_t again = 0;
    libDVB::CEPGCacheFile::Read(written, 1'800'000'000, [&](libDVB::CEITEvent&&) { ++again; });
    if (again != events.size())
        __builtin_trap();
    return 0;
}
