// Writes valid "\epg.dat" caches as seeds for the loader's fuzzer.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dvb/libDVB/epg/CEPGCacheFile.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const std::string dir = argv[1];
    std::string command = "mkdir -p '" + dir + "'";
    if (std::system(command.c_str()) != 0)
        return 1;
    libDVB::CEITEvent a, b;
    a.service_id = 1;
    a.event_id = 2;
    a.name = u"News";
    a.shortText = u"Headlines";
    a.start = 1'800'000'000;
    a.duration = 1800;
    b = a;
    b.event_id = 3;
    b.extendedText = u"A longer description of the programme.";
    for (int n = 0; n <= 2; ++n) {
        std::vector<const libDVB::CEITEvent*> events;
        if (n >= 1)
            events.push_back(&a);
        if (n >= 2)
            events.push_back(&b);
        const auto bytes = libDVB::CEPGCacheFile::Write(events, 1'800'000'000);
        FILE* f = std::fopen((dir + "/seed" + std::to_string(n)).c_str(), "wb");
        if (!f)
            return 1;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return 0;
}
