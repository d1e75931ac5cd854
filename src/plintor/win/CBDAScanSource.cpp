#include "plintor/win/CBDAScanSource.h"

#include "dvb/DVBPlaybackCore/CBDATuneInfo.h"
#include "dvb/DVBPlaybackCore/win/BDATuneInfoLocator.h"
#include "plintor/ManualEntry.h"

namespace plintor {

using DVBPlaybackCore::CBDATuneInfo;

CBDAScanSource::CBDAScanSource(int sourceType, const std::u16string& tunerName,
                               const std::vector<ILocator*>& locators, uint32_t diseqcMode)
    : m_tuningType(TuningTypeOf(sourceType)), m_tunerName(tunerName), m_locators(locators),
      m_diseqcMode(sourceType == kSourceSatellite ? diseqcMode : 0)
{
    for (ILocator* locator : m_locators) {
        if (locator)
            locator->AddRef();
    }
}

CBDAScanSource::~CBDAScanSource()
{
    Close();
    for (ILocator* locator : m_locators) {
        if (locator)
            locator->Release();
    }
}

uint32_t CBDAScanSource::TuningTypeOf(int sourceType)
{
    switch (sourceType) {
    case kSourceCable:
        return CBDATuneInfo::kDVBC;
    case kSourceTerrestrial:
        return CBDATuneInfo::kDVBT;
    case kSourceSatellite:
        return CBDATuneInfo::kDVBS;
    case kSourceATSC:
        return CBDATuneInfo::kATSC;
    default:
        return 0;
    }
}

bool CBDAScanSource::Open(libDVB::CServiceManager::CServiceManagerCallback* listener)
{
    CBDATuneInfo wanted;
    wanted.SetTunerName(m_tunerName);
    wanted.SetTuningType(m_tuningType);
    libBDA::CBDADeviceEntry* entry = DVBPlaybackCore::FindTuner(wanted);
    if (!entry)
        return false;
    auto engine = std::make_unique<libDVB_BDADevice::CBDATSEngine>(entry, nullptr);
    if (engine->Start(listener) != S_OK)
        return false;
    m_engine = std::move(engine);
    return true;
}

libDVB::CTSEngine* CBDAScanSource::Tune(size_t index, libDVB::CServiceManager::CServiceManagerCallback*)
{
    if (!m_engine || index >= m_locators.size() || !m_locators[index])
        return nullptr;
    ILocator* locator = m_locators[index];
    if (m_diseqcMode != 0) {
        Polarisation polarisation = BDA_POLARISATION_NOT_SET;
        IDVBSLocator* satellite = nullptr;
        if (SUCCEEDED(locator->QueryInterface(__uuidof(IDVBSLocator), reinterpret_cast<void**>(&satellite))) &&
            satellite) {
            satellite->get_SignalPolarisation(&polarisation);
            satellite->Release();
        }
        m_engine->SetDiSEqCPort(m_diseqcMode, polarisation == BDA_POLARISATION_LINEAR_H);
    }
    if (FAILED(m_engine->Tune(locator)))
        return nullptr;
    if (FAILED(m_engine->StartStreaming()))
        return nullptr;
    return m_engine.get();
}

std::unique_ptr<DVBPlaybackCore::CTuneInfo> CBDAScanSource::MakeTuneInfo(size_t index) const
{
    auto info = std::make_unique<CBDATuneInfo>();
    info->SetTuningType(m_tuningType);
    info->SetTunerName(m_tunerName);
    info->SetDiSEqCPort(m_diseqcMode);
    if (index < m_locators.size())
        DVBPlaybackCore::ReadLocator(*info, m_locators[index]);
    return info;
}

void CBDAScanSource::Close()
{
    if (m_engine)
        m_engine->Stop();
    m_engine.reset();
}

} // namespace plintor
