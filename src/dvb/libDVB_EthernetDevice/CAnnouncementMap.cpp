#include "dvb/libDVB_EthernetDevice/CAnnouncementMap.h"

#include <cstring>
#include <string>

#include "base/ByteReader.h"
#include "dvb/libDVB_EthernetDevice/SdpText.h"

namespace libDVB_EthernetDevice {

namespace {

// RFC 2974, 3: flag bits of the first header byte.
constexpr uint8_t kAddressTypeIPv6 = 0x10;
constexpr uint8_t kDeletion = 0x04;
constexpr uint8_t kEncrypted = 0x02;
constexpr uint8_t kCompressed = 0x01;
// Seconds from the NTP epoch (1900) to 1970 (RFC 5905, 6).
constexpr uint64_t kNtpTo1970 = 2208988800ull;

struct Text {
    const char* data;
    size_t length;
    bool operator==(const char* other) const { return length == std::strlen(other) && std::memcmp(data, other, length) == 0; }
};

// Tokens of `text` separated by any of `separators`; empty tokens are skipped.
std::vector<Text> Split(const char* text, size_t length, const char* separators)
{
    std::vector<Text> tokens;
    size_t i = 0;
    while (i < length) {
        while (i < length && std::strchr(separators, text[i]))
            ++i;
        const size_t begin = i;
        while (i < length && !std::strchr(separators, text[i]))
            ++i;
        if (i > begin)
            tokens.push_back({text + begin, i - begin});
    }
    return tokens;
}

// Leading decimal digits of `token` into `value` (false on none, or on a value above `limit`);
// `rest` gets the offset of the first non-digit.
bool ReadDecimal(const Text& token, uint64_t limit, uint64_t& value, size_t& rest)
{
    value = 0;
    rest = 0;
    while (rest < token.length && token.data[rest] >= '0' && token.data[rest] <= '9') {
        const unsigned digit = static_cast<unsigned>(token.data[rest] - '0');
        if (value > (limit - digit) / 10)
            return false;
        value = value * 10 + digit;
        ++rest;
    }
    return rest > 0;
}

bool ReadWholeDecimal(const Text& token, uint64_t limit, uint64_t& value)
{
    size_t rest;
    return ReadDecimal(token, limit, value, rest) && rest == token.length;
}

// The address of a c= line (RFC 4566, 5.7): exactly four decimal octets, none above 255. A
// missing or oversized octet is refused rather than read as some other group.
bool ReadAddress(const Text& field, uint32_t& address)
{
    address = 0;
    size_t at = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (at >= field.length || field.data[at] != '.')
                return false;
            ++at;
        }
        const size_t begin = at;
        while (at < field.length && field.data[at] != '.')
            ++at;
        uint64_t value;
        if (!ReadWholeDecimal({field.data + begin, at - begin}, 255, value))
            return false;
        address = (address << 8) | static_cast<uint32_t>(value);
    }
    return at == field.length;
}

uint64_t NtpToUnix(uint64_t ntp) { return ntp < kNtpTo1970 ? 0 : ntp - kNtpTo1970; }

} // namespace

void CAnnouncementMap::Notify()
{
    if (m_callback)
        m_callback->OnAnnouncementsChanged();
}

HRESULT CAnnouncementMap::ParseAnnouncement(const uint8_t* data, size_t length, uint32_t nowTick)
{
    // RFC 2974, 3: flags, authentication length (32-bit words), message id hash, originating source.
    base::CByteReader reader(data, data ? length : 0);
    const uint8_t flags = reader.U8();
    const uint8_t authenticationWords = reader.U8();
    const uint16_t id = reader.U16();
    if (reader.Overrun())
        return E_FAIL;

    const auto known = m_announcements.find(id);
    if (known != m_announcements.end()) {
        if (flags & kDeletion) {
            m_announcements.erase(known);
            Notify();
        } else {
            known->second.lastHeard = nowTick;
        }
        return S_OK;
    }
    if (flags & (kAddressTypeIPv6 | kDeletion | kEncrypted | kCompressed))
        return E_FAIL;

    reader.Skip(4 + 4 * static_cast<size_t>(authenticationWords));
    if (reader.Overrun())
        return E_FAIL;
    base::CByteReader payload = reader.Rest();
    // The payload type ("application/sdp") ends at a NUL that must lie within the datagram.
    const auto* begin = reinterpret_cast<const char*>(payload.Current());
    const size_t size = payload.Remaining();
    const char* nul = begin ? static_cast<const char*>(std::memchr(begin, 0, size)) : nullptr;
    if (!nul)
        return E_FAIL;

    CNetworkAnnouncement announcement;
    const char* sdp = nul + 1;
    if (FAILED(ParseDescription(sdp, size - static_cast<size_t>(sdp - begin), announcement)))
        return E_FAIL;
    announcement.id = id;
    announcement.lastHeard = nowTick;
    m_announcements[id] = announcement;
    Notify();
    return S_OK;
}

// RFC 4566, 5: "<type>=<value>" lines; only complete lines (ending in LF) are read.
HRESULT CAnnouncementMap::ParseDescription(const char* text, size_t length, CNetworkAnnouncement& out)
{
    size_t position = 0;
    while (position < length) {
        const char* line = text + position;
        const char* end = static_cast<const char*>(std::memchr(line, '\n', length - position));
        if (!end)
            break;
        position = static_cast<size_t>(end - text) + 1;
        size_t n = static_cast<size_t>(end - line);
        if (n > 0 && line[n - 1] == '\r')
            --n;
        if (n < 2 || line[1] != '=')
            return E_FAIL;
        const char* value = line + 2;
        const size_t valueLength = n - 2;
        switch (line[0]) {
        case 's':
            out.name = DecodeSdpText(value, valueLength);
            break;
        case 'c': { // IN IP4 <address>[/ttl[/count]]
            const auto tokens = Split(value, valueLength, " ");
            if (tokens.size() < 3 || !(tokens[1] == "IP4"))
                return E_FAIL;
            const Text& field = tokens[2];
            const char* slash = static_cast<const char*>(std::memchr(field.data, '/', field.length));
            uint32_t address;
            if (!ReadAddress({field.data, slash ? static_cast<size_t>(slash - field.data) : field.length}, address))
                return E_FAIL;
            out.address = address;
            break;
        }
        case 'm': { // <media> <port>[/count] <proto> <fmt> ...
            const auto tokens = Split(value, valueLength, " ");
            uint64_t port;
            size_t rest;
            if (tokens.size() < 2 || !ReadDecimal(tokens[1], 65535, port, rest) || port == 0 ||
                (rest != tokens[1].length && tokens[1].data[rest] != '/'))
                return E_FAIL;
            out.port = static_cast<uint16_t>(port);
            break;
        }
        case 't': { // <start> <stop>, NTP seconds
            const auto tokens = Split(value, valueLength, " ");
            uint64_t start, stop;
            if (tokens.size() < 2 || !ReadWholeDecimal(tokens[0], UINT64_MAX, start) ||
                !ReadWholeDecimal(tokens[1], UINT64_MAX, stop))
                return E_FAIL;
            out.start = NtpToUnix(start);
            out.stop = NtpToUnix(stop);
            break;
        }
        case 'a': {
            static const char kGroup[] = "x-plgroup";
            const size_t prefix = sizeof kGroup - 1;
            if (valueLength >= prefix && std::memcmp(value, kGroup, prefix) == 0) {
                const char* colon = static_cast<const char*>(std::memchr(value, ':', valueLength));
                if (colon)
                    out.groupName = DecodeSdpText(colon + 1, valueLength - static_cast<size_t>(colon + 1 - value));
            }
            break;
        }
        default:
            break;
        }
    }
    return S_OK;
}

size_t CAnnouncementMap::Expire(uint32_t nowTick, int64_t nowUtc)
{
    size_t removed = 0;
    for (auto it = m_announcements.begin(); it != m_announcements.end();) {
        const CNetworkAnnouncement& a = it->second;
        const bool silent = static_cast<uint32_t>(nowTick - a.lastHeard) >= kSilenceMs;
        const bool ended = a.stop != 0 && nowUtc >= 0 && static_cast<uint64_t>(nowUtc) > a.stop;
        if (silent || ended) {
            it = m_announcements.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    return removed;
}

std::unique_ptr<CNetworkAnnouncement> CAnnouncementMap::GetAnnouncement(uint16_t id) const
{
    const auto it = m_announcements.find(id);
    return it == m_announcements.end() ? nullptr : std::make_unique<CNetworkAnnouncement>(it->second);
}

HRESULT CAnnouncementMap::RemoveAnnouncement(uint16_t id) { return m_announcements.erase(id) ? S_OK : S_FALSE; }

std::vector<uint16_t> CAnnouncementMap::GetAnnouncementIds() const
{
    std::vector<uint16_t> ids;
    for (const auto& entry : m_announcements)
        ids.push_back(entry.first);
    return ids;
}

} // namespace libDVB_EthernetDevice
