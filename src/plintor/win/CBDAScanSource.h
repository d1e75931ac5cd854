// The transponders of a scan on one BDA tuner: the tuner's engine opens once and is retuned for
// every locator. The source holds one reference to each locator, so that the wizard may refill
// its lists while the worker tunes; a satellite entry first sends the DiSEqC command of the
// chosen mode, with the option bit set for horizontal polarisation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dvb/libBDA/BDADeclarations.h"
#include "dvb/libDVB_BDADevice/CBDATSEngine.h"
#include "plintor/CScanSource.h"

namespace plintor {

class CBDAScanSource : public CScanSource {
public:
    // `sourceType` is the wizard's (1 cable, 2 terrestrial, 3 satellite, 4 ATSC); `tunerName` the
    // device list's display name; each locator gets a reference of the source's own.
    CBDAScanSource(int sourceType, const std::u16string& tunerName, const std::vector<ILocator*>& locators,
                   uint32_t diseqcMode);
    ~CBDAScanSource() override;
    CBDAScanSource(const CBDAScanSource&) = delete;
    CBDAScanSource& operator=(const CBDAScanSource&) = delete;

    // The BDA tuning type of a wizard source type; 0 for none.
    static uint32_t TuningTypeOf(int sourceType);

    size_t GetCount() const override { return m_locators.size(); }
    // False when the device list holds no such tuner or its graph does not open.
    bool Open(libDVB::CServiceManager::CServiceManagerCallback* listener) override;
    libDVB::CTSEngine* Tune(size_t index, libDVB::CServiceManager::CServiceManagerCallback* listener) override;
    void EndEntry(size_t) override {}
    std::unique_ptr<DVBPlaybackCore::CTuneInfo> MakeTuneInfo(size_t index) const override;
    void Close() override;

private:
    uint32_t m_tuningType;
    std::u16string m_tunerName;
    std::vector<ILocator*> m_locators; // one reference each
    uint32_t m_diseqcMode;
    std::unique_ptr<libDVB_BDADevice::CBDATSEngine> m_engine;
};

} // namespace plintor
