// Arbitrary input through the DVB subtitle decoder, every display set it queues drawn by the
// renderer as soon as it is complete.
#include <cstddef>
#include <cstdint>

#include "FuzzPes.h"
#include "dvb/libDVB/subtitle/CSubtitleRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One decoder and one renderer for the whole run (the PES buffer and the bitmap are large):
    // Clear forgets all the decoder holds (queued sets and the PES being gathered), Attach clears
    // what the last input drew.
    static libDVB::CSubtitleDecoder decoder;
    static libDVB::CSubtitleRenderer renderer(nullptr);
    decoder.Start();
    decoder.Clear();
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
    return 0;
}
