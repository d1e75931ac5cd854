#include "plintor/win/CMulticastScanSource.h"

#include "dvb/DVBPlaybackCore/CETHTuneInfo.h"
#include "plintor/CTransponderScan.h"

namespace plintor {

std::vector<CMulticastScanSource::Entry> CMulticastScanSource::FromPacked(const std::vector<uint64_t>& packed)
{
    std::vector<Entry> entries(packed.size());
    for (size_t i = 0; i < packed.size(); ++i)
        UnpackMulticastEntry(packed[i], &entries[i].address, &entries[i].port);
    return entries;
}

libDVB::CTSEngine* CMulticastScanSource::Tune(size_t index, libDVB::CServiceManager::CServiceManagerCallback* listener)
{
    m_engine.reset();
    if (index >= m_entries.size())
        return nullptr;
    auto engine = std::make_unique<libDVB_EthernetDevice::CMulticastDevice>(m_entries[index].address,
                                                                             m_entries[index].port, nullptr);
    // Opening reads the group's tables once and stops; the scan then streams again to wait for them.
    if (FAILED(engine->Start(listener)))
        return nullptr;
    if (engine->StartStreaming() == E_FAIL) {
        engine->Stop();
        return nullptr;
    }
    m_engine = std::move(engine);
    return m_engine.get();
}

void CMulticastScanSource::EndEntry(size_t)
{
    if (m_engine)
        m_engine->Stop();
    m_engine.reset();
}

std::unique_ptr<DVBPlaybackCore::CTuneInfo> CMulticastScanSource::MakeTuneInfo(size_t index) const
{
    auto info = std::make_unique<DVBPlaybackCore::CETHTuneInfo>();
    if (index < m_entries.size()) {
        info->SetAddress(m_entries[index].address);
        info->SetPort(m_entries[index].port);
    }
    return info;
}

} // namespace plintor
