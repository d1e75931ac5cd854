// Arbitrary bytes through the PID router, with section streams on the PSI/SI PIDs and relays on a
// few elementary PIDs, in chunk sizes taken from the input itself.
#include <cstddef>
#include <cstdint>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Sink sink;
    libDVB::CTSDemultiplexer router;
    libDVB::CTSSectionStream pat(&sink, 0x0000), cat(&sink, 0x0001), sdt(&sink, 0x0011), eit(&sink, 0x0012),
        pmt(&sink, 0x1000);
    libDVB::CTSRelayStream video(&sink, 0x0100), audio(&sink, 0x0101);
    libDVB::CTSDemultiplexerStream* all[] = {&pat, &cat, &sdt, &eit, &pmt, &video, &audio};
    for (auto* s : all)
        router.RegisterStream(s);

    size_t offset = 0;
    while (offset < size) {
        const size_t chunk = 188 + (data[offset] * 7u) % 2000;
        const size_t n = chunk < size - offset ? chunk : size - offset;
        router.InputBytes(data + offset, static_cast<uint32_t>(n));
        offset += n;
    }
    for (auto* s : all)
        router.UnregisterStream(s->GetPid());
    return 0;
}
