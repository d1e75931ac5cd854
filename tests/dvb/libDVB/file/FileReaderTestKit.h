// A memory file, a simulated clock, an independent PCR scan and a router that keeps every packet
// it routes, for the file engine's reader tests.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB/file/CTSFileReader.h"

namespace test {

class CMemorySource : public libDVB::CTSFileReader::CSource {
public:
    CMemorySource(const std::vector<uint8_t>& bytes, uint32_t readSize) : m_bytes(bytes), m_readSize(readSize) {}
    uint32_t Read(uint8_t* data, uint32_t size) override
    {
        const size_t n = std::min<size_t>({size, m_readSize, m_bytes.size() - position});
        std::copy(m_bytes.begin() + position, m_bytes.begin() + position + n, data);
        position += n;
        return static_cast<uint32_t>(n);
    }
    size_t position = 0;

private:
    const std::vector<uint8_t>& m_bytes;
    uint32_t m_readSize;
};

// Time passes only by waiting; a stop can be requested after a number of waits.
class CSimulatedClock : public libDVB::CTSFileReader::CClock {
public:
    uint64_t NowMs() override { return now; }
    bool Wait(uint32_t ms) override
    {
        if (stopAfterWaits >= 0 && static_cast<int64_t>(waits.size()) >= stopAfterWaits) {
            stopped = true;
            return true;
        }
        waits.push_back(ms);
        now += ms;
        return false;
    }
    bool StopRequested() override { return stopped; }
    uint64_t Waited() const
    {
        uint64_t sum = 0;
        for (uint32_t w : waits)
            sum += w;
        return sum;
    }
    uint64_t now = 1000000;
    int64_t stopAfterWaits = -1;
    bool stopped = false;
    std::vector<uint32_t> waits;
};

struct PcrSample {
    uint16_t pid;
    uint64_t base;
};

// PCR bases in file order, read straight from the bytes of aligned packets.
inline std::vector<PcrSample> ScanPcrs(const std::vector<uint8_t>& file)
{
    std::vector<PcrSample> pcrs;
    for (size_t at = 0; at + 188 <= file.size(); at += 188) {
        const uint8_t* p = &file[at];
        if (!(p[3] & 0x20) || p[4] == 0 || !(p[5] & 0x10))
            continue;
        const uint64_t base = (uint64_t(p[6]) << 25) | (uint64_t(p[7]) << 17) | (uint64_t(p[8]) << 9) |
                              (uint64_t(p[9]) << 1) | (p[10] >> 7);
        pcrs.push_back({static_cast<uint16_t>(((p[1] & 0x1F) << 8) | p[2]), base});
    }
    return pcrs;
}

// A router with a relay on every PID that keeps the packets it receives, in order.
class CKeepingRouter : public libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
public:
    CKeepingRouter()
    {
        for (uint16_t pid = 0; pid < 0x2000; ++pid) {
            relays.push_back(std::make_unique<libDVB::CTSRelayStream>(this, pid));
            router.RegisterStream(relays.back().get());
        }
    }
    ~CKeepingRouter()
    {
        for (uint16_t pid = 0; pid < 0x2000; ++pid)
            router.UnregisterStream(pid);
    }
    HRESULT OnStreamPacket(libDVB::CTSDemultiplexerStream* stream, const uint8_t* data, uint32_t length,
                           uint32_t) override
    {
        kept.insert(kept.end(), data, data + length);
        ++perPid[stream->GetPid()];
        return S_OK;
    }
    libDVB::CTSDemultiplexer router;
    std::vector<std::unique_ptr<libDVB::CTSRelayStream>> relays;
    std::vector<uint8_t> kept;
    std::map<uint16_t, uint32_t> perPid;
};

} // namespace test
