// Arbitrary bytes through the PID router, with section streams on the PSI/SI PIDs and relays on a
// few elementary PIDs, in chunk sizes taken from the input itself.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB/demux/CTSSectionStream.h"
#include "dvb/libDVB/demux/PesHeader.h"

namespace {

struct Sink : libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
    uint64_t checksum = 0;
    HRESULT OnStreamPacket(libDVB::CTSDemultiplexerStream*, const uint8_t* data, uint32_t length, uint32_t) override
    {
        // Touch every byte handed over, so ASan sees any overread; parse PES headers of relays.
        for (uint32_t i = 0; i < length; ++i)
            checksum += data[i];
        if (length == 188) {
            const uint8_t* p = data + 4;
            uint32_t count = 184;
            uint64_t pts = 0;
            libDVB::ParsePesHeader(p, count, pts);
        }
        return S_OK;
    }
};

// The streams live for the whole run (a section stream's buffer is large, and making it for every
// input would cost more than the input); a packet whose pointer_field lies past its payload empties
// a section stream's buffer before each input. The router itself is small and made afresh, so no
// carried bytes pass from one input to the next.
struct Streams {
    Sink sink;
    libDVB::CTSSectionStream pat{&sink, 0x0000}, cat{&sink, 0x0001}, sdt{&sink, 0x0011}, eit{&sink, 0x0012},
        pmt{&sink, 0x1000};
    libDVB::CTSRelayStream video{&sink, 0x0100}, audio{&sink, 0x0101};
    libDVB::CTSDemultiplexerStream* all[7] = {&pat, &cat, &sdt, &eit, &pmt, &video, &audio};
    libDVB::CTSSectionStream* sections[5] = {&pat, &cat, &sdt, &eit, &pmt};

    void Reset()
    {
        for (auto* s : sections) {
            uint8_t packet[188];
            for (uint8_t& b : packet)
                b = 0xFF;
            packet[0] = 0x47;
            packet[1] = static_cast<uint8_t>(0x40 | (s->GetPid() >> 8));
            packet[2] = static_cast<uint8_t>(s->GetPid());
            packet[3] = 0x10;
            s->OnPacket(packet, 188); // pointer_field 255: the buffer is emptied
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Streams* streams = new Streams;
    streams->Reset();
    auto router = std::make_unique<libDVB::CTSDemultiplexer>();
    for (auto* s : streams->all)
        router->RegisterStream(s);

    size_t offset = 0;
    while (offset < size) {
        const size_t chunk = 188 + (data[offset] * 7u) % 2000;
        const size_t n = chunk < size - offset ? chunk : size - offset;
        router->InputBytes(data + offset, static_cast<uint32_t>(n));
        offset += n;
    }
    for (auto* s : streams->all)
        router->UnregisterStream(s->GetPid());
    return 0;
}
