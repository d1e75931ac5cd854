// Reception on a BDA tuner: the tuner's name in the device list, the tuning type, the DiSEqC port
// and the locator values of the transponder. The values are kept here, in the units of the BDA
// locator properties, so that a record loaded where no locator can be made is saved unchanged; the
// tuner's locator is built from them when the channel is tuned.
#pragma once

#include "dvb/DVBPlaybackCore/CTuneInfo.h"

namespace DVBPlaybackCore {

class CBDATuneInfo : public CTuneInfo {
public:
    // {2CECC800-DA86-4AF1-A0A4-D1A00181471A}
    static constexpr TuneInfoGuid kTypeGuid = {0x00, 0xC8, 0xEC, 0x2C, 0x86, 0xDA, 0xF1, 0x4A,
                                               0xA0, 0xA4, 0xD1, 0xA0, 0x01, 0x81, 0x47, 0x1A};
    enum TuningType : uint32_t { kDVBT = 1, kDVBC = 2, kDVBS = 3, kATSC = 4 };

    CBDATuneInfo() : CTuneInfo(kTypeGuid) {}

    bool Load(base::CByteReader& file) override;
    void Save(base::CByteWriter& file, uint32_t& counter) const override;
    bool Equals(const CTuneInfo& other) const override;
    std::unique_ptr<CTuneInfo> Clone() const override;

    const std::u16string& GetTunerName() const { return m_text; }
    void SetTunerName(const std::u16string& name) { m_text = name; }
    uint32_t GetTuningType() const { return m_number; }
    void SetTuningType(uint32_t type) { m_number = type; }
    // Types 1 to 4 carry locator values; any other type has none (and no locator).
    bool HasLocator() const { return m_number >= kDVBT && m_number <= kATSC; }
    uint32_t GetDiSEqCPort() const { return m_diseqcPort; }
    void SetDiSEqCPort(uint32_t port) { m_diseqcPort = port; }

    int32_t GetCarrierFrequency() const { return m_frequency; }
    void SetCarrierFrequency(int32_t frequency) { m_frequency = frequency; }
    // The second value: bandwidth (DVB-T), symbol rate (DVB-C, DVB-S) or physical channel (ATSC).
    int32_t GetBandwidth() const { return m_second; }
    int32_t GetSymbolRate() const { return m_second; }
    int32_t GetPhysicalChannel() const { return m_second; }
    void SetSecondValue(int32_t value) { m_second = value; }
    int32_t GetPolarisation() const { return m_polarisation; } // DVB-S only
    void SetPolarisation(int32_t polarisation) { m_polarisation = polarisation; }

private:
    // Locator values stored for a tuning type: 2, 3 for DVB-S, none outside 1 to 4.
    uint32_t ValueCount() const;

    uint32_t m_diseqcPort = 0;
    int32_t m_frequency = 0;
    int32_t m_second = 0;
    int32_t m_polarisation = 0;
};

} // namespace DVBPlaybackCore
