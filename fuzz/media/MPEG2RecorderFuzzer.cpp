// Packet sequences through the program-stream recorder: the first byte chooses the PIDs and the
// lengths handed over; the output is checked to be a run of start codes with consistent lengths.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/record/CMPEG2Recorder.h"

namespace {

struct Sink : record::CBaseRecorderSink {
    std::vector<uint8_t>& out;
    explicit Sink(std::vector<uint8_t>& o) : out(o) {}
    HRESULT Write(const uint8_t* data, int length) override
    {
        out.insert(out.end(), data, data + length);
        return S_OK;
    }
};

struct Space : record::CFreeSpaceQuery {
    bool FreeBytes(uint64_t* bytes) override
    {
        *bytes = uint64_t(1) << 40;
        return true;
    }
};

// Every unit written starts with 00 00 01 and a PES length that stays inside the output; the
// program end code comes last.
void CheckFraming(const std::vector<uint8_t>& out)
{
    size_t pos = 0;
    while (pos < out.size()) {
        if (pos + 4 > out.size() || out[pos] != 0 || out[pos + 1] != 0 || out[pos + 2] != 1)
            std::abort();
        const uint8_t code = out[pos + 3];
        if (code == 0xB9) {
            if (pos + 4 != out.size())
                std::abort();
            pos += 4;
        } else if (code == 0xBA) {
            pos += 14;
        } else {
            if (pos + 6 > out.size())
                std::abort();
            pos += 6 + ((out[pos + 4] << 8) | out[pos + 5]);
        }
    }
    if (pos != out.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t config = data[0];
    std::vector<uint8_t> out;
    {
        record::CMPEG2Recorder recorder(new Sink(out), 80, new Space, nullptr);
        recorder.SetPids(config & 0x08 ? 0 : 256, config & 0x08 ? 259 : (config & 0x04 ? 258 : 257));
        uint8_t packet[188];
        for (size_t offset = 1; offset + 188 <= size; offset += 188) {
            std::copy(data + offset, data + offset + 188, packet);
            packet[0] = 0x47;
            // Now and then a length that is not a packet's.
            const int length = (config & 0x10) && packet[187] == 0x5A ? 187 : 188;
            recorder.OnPacket(packet, length);
        }
    }
    CheckFraming(out);
    return 0;
}
