// How often the recorder can ask the volume for its free space under this platform: the query
// runs once per recorded packet. Prints queries per second and the recorder's packets per second
// with the real query; a measurement to run by hand (not a test).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "media/record/CMPEG2Recorder.h"
#include "media/record/win/CVolumeFreeSpace.h"

namespace {

struct NullSink : record::CBaseRecorderSink {
    HRESULT Write(const uint8_t*, int) override { return S_OK; }
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring folder = argc > 1 ? argv[1] : L"C:\\";
    record::CVolumeFreeSpace volume(folder);
    const int queries = 20000;
    uint64_t bytes = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < queries; ++i)
        volume.FreeBytes(&bytes);
    const double queryRate = queries / Seconds(start);

    // Video packets of a 6 Mbit/s service: 4000 packets/s to keep up with.
    std::vector<uint8_t> packet(188, 0xFF);
    packet[0] = 0x47;
    packet[1] = 0x01;
    packet[2] = 0x00;
    packet[3] = 0x10;
    record::CMPEG2Recorder recorder(new NullSink, 80, new record::CVolumeFreeSpace(folder), nullptr);
    recorder.SetPids(256, 257);
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < queries; ++i)
        recorder.OnPacket(packet.data(), 188);
    const double packetRate = queries / Seconds(start);
    std::printf("GetDiskFreeSpaceExW: %.0f queries/s; OnPacket with the query: %.0f packets/s "
                "(a 6 Mbit/s service needs 4000)\n", queryRate, packetRate);
    return 0;
}
