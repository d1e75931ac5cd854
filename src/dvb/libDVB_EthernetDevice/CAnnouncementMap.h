// The announcements heard on the SAP groups, keyed by their message identifier hash: each SAP
// message (RFC 2974) is read with its SDP description (RFC 4566); withdrawn, silent and ended
// sessions are forgotten. The clock is passed in, so the listener's window and the tests drive it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "base/Result.h"
#include "dvb/libDVB_EthernetDevice/CNetworkAnnouncement.h"
#include "dvb/libDVB_EthernetDevice/CSAPcallback.h"

namespace libDVB_EthernetDevice {

class CAnnouncementMap {
public:
    // An announcement not heard again for this long is gone (announcers repeat well within it).
    static constexpr uint32_t kSilenceMs = 15001;

    explicit CAnnouncementMap(CSAPcallback* callback = nullptr) : m_callback(callback) {}

    // One SAP datagram received at `nowTick` (ms): a new session is filed, a known one refreshed
    // (its description is not read again) or withdrawn. E_FAIL for a message that is dropped.
    HRESULT ParseAnnouncement(const uint8_t* data, size_t length, uint32_t nowTick);
    // Forgets sessions silent for kSilenceMs (tick arithmetic modulo 2^32) and sessions whose stop
    // time (seconds since 1970) lies before `nowUtc`. Returns how many were forgotten.
    size_t Expire(uint32_t nowTick, int64_t nowUtc);

    // A copy the caller owns, or null.
    std::unique_ptr<CNetworkAnnouncement> GetAnnouncement(uint16_t id) const;
    // S_FALSE when the id is not known.
    HRESULT RemoveAnnouncement(uint16_t id);
    std::vector<uint16_t> GetAnnouncementIds() const;
    size_t GetCount() const { return m_announcements.size(); }

private:
    static HRESULT ParseDescription(const char* text, size_t length, CNetworkAnnouncement& out);
    void Notify();

    CSAPcallback* m_callback;
    std::map<uint16_t, CNetworkAnnouncement> m_announcements;
};

} // namespace libDVB_EthernetDevice
