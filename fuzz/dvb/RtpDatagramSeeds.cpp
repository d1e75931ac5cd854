// Writes RTP datagram seeds: the shapes ffmpeg's rtp_mpegts sends (1328 bytes, payload type 33),
// one with a CSRC and an extension, and a bare 1316-byte datagram.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "SeedWriter.h"

namespace {
std::vector<uint8_t> Datagram(bool rtp, int csrcs, int extensionWords)
{
    std::vector<uint8_t> d;
    if (rtp) {
        d = {static_cast<uint8_t>(0x80 | (extensionWords >= 0 ? 0x10 : 0) | csrcs), 33, 0, 1, 0, 0, 0, 9, 1, 2, 3, 4};
        d.resize(d.size() + 4 * csrcs, 0x11);
        if (extensionWords >= 0) {
            d.insert(d.end(), {0xBE, 0xDE, 0, static_cast<uint8_t>(extensionWords)});
            d.resize(d.size() + 4 * extensionWords, 0x22);
        }
    }
    for (int i = 0; i < 7; ++i) {
        std::vector<uint8_t> p(188, 0xFF);
        p[0] = 0x47, p[1] = 0x41, p[2] = 0x00, p[3] = static_cast<uint8_t>(0x10 | i);
        d.insert(d.end(), p.begin(), p.end());
    }
    return d;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string folder = argv[1];
    mkdir(folder.c_str(), 0755);
    bool ok = fuzz::WriteSeed(folder, "rtp_mp2t", Datagram(true, 0, -1));
    ok = fuzz::WriteSeed(folder, "rtp_csrc_extension", Datagram(true, 1, 1)) && ok;
    ok = fuzz::WriteSeed(folder, "bare", Datagram(false, 0, -1)) && ok;
    return ok ? 0 : 1;
}
