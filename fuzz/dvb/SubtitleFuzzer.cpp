// Arbitrary input through the DVB subtitle decoder, every display set it queues drawn by the
// renderer as soon as it is complete.
#include <cstddef>
#include <cstdint>

#include "FuzzPes.h"
#include "dvb/libDVB/subtitle/CSubtitleRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    libDVB::CSubtitleDecoder decoder;
    decoder.Start();
    // One renderer for the whole run (its bitmap is large); Attach clears what the last input drew.
    static libDVB::CSubtitleRenderer renderer(nullptr);
    renderer.Attach(&decoder);
    // A unit start decodes the PES before it: draw what it made at once, so every set is drawn.
    fuzz::ForEachPacket(data, size, [&](const uint8_t* packet) {
        decoder.OnSubtitlePacket(packet, 188);
        if ((packet[1] & 0x40) && decoder.GetQueuedCount() > 0) {
            renderer.Draw(~0ull);
            decoder.Clear();
        }
    });
    renderer.Attach(nullptr);
    decoder.Stop();
    return 0;
}
