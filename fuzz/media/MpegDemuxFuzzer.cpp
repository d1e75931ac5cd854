// Packet sequences through the demultiplexer core: the first byte chooses the PIDs and the
// connected outputs; every packet gets the sync byte, the rest is the fuzzer's. Every payload
// byte handed out is read, so ASan sees any overread.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/filters/mpegdemux/CMpegDemuxCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t config = data[0];
    mpegdemux::CMpegDemuxCore core;
    core.SetPIDs(config & 0x08 ? 0 : 256, config & 0x08 ? 259 : (config & 0x04 ? 258 : 257));
    const unsigned connected = config & 0x03;
    mpegdemux::CMpegDemuxCore::CEvents events;
    uint8_t packet[188];
    uint64_t checksum = 0;
    size_t count = 0;
    for (size_t offset = 1; offset + 188 <= size; offset += 188) {
        std::copy(data + offset, data + offset + 188, packet);
        packet[0] = 0x47;
        core.PushPacket(packet, sizeof(packet), connected, events);
        for (const auto& event : events) {
            if (event.packet)
                for (size_t i = 0; i < event.packet->Size(); ++i)
                    checksum += event.packet->Data()[i];
        }
        events.clear();
        // Resets in the middle of the stream, as a timeshift end does.
        if ((config & 0x80) && ++count % 17 == 0)
            core.Reset();
    }
    return static_cast<int>(checksum & 0);
}
