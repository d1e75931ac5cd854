// A way to receive a channel, stored inside its channel record behind a 16-byte type GUID that
// selects the subclass: a BDA tuner (CBDATuneInfo) or an IP multicast group (CETHTuneInfo).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

namespace DVBPlaybackCore {

// A GUID as it lies in memory and in files: first three groups little-endian.
using TuneInfoGuid = std::array<uint8_t, 16>;

class CTuneInfo {
public:
    virtual ~CTuneInfo() = default;
    CTuneInfo(const CTuneInfo&) = delete;
    CTuneInfo& operator=(const CTuneInfo&) = delete;

    // Reads the body that follows the type GUID; false when the bytes end or lie (then the
    // fields already read are kept and the rest keeps its constructor values).
    virtual bool Load(base::CByteReader& file) = 0;
    // Writes the type GUID and the body; adds the bytes written to `counter`.
    virtual void Save(base::CByteWriter& file, uint32_t& counter) const = 0;
    // Whether two tune infos name the same way to receive a channel; false across type GUIDs.
    virtual bool Equals(const CTuneInfo& other) const = 0;
    virtual std::unique_ptr<CTuneInfo> Clone() const = 0;

    // The subclass for a type GUID read from a file; null for a GUID of neither kind.
    static std::unique_ptr<CTuneInfo> Create(const uint8_t guid[16]);

    const TuneInfoGuid& GetTypeGuid() const { return m_type; }
    const std::u16string& GetText() const { return m_text; }
    void SetText(const std::u16string& text) { m_text = text; }
    uint32_t GetNumber() const { return m_number; }
    void SetNumber(uint32_t number) { m_number = number; }

protected:
    explicit CTuneInfo(const TuneInfoGuid& type) : m_type(type) {}
    void CopyTo(CTuneInfo& other) const;

    TuneInfoGuid m_type;
    std::u16string m_text; // tuner name, or group address
    uint32_t m_number = 0; // tuning type, or UDP port
};

} // namespace DVBPlaybackCore
