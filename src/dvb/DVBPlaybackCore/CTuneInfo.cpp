#include "dvb/DVBPlaybackCore/CTuneInfo.h"

#include <cstring>

#include "dvb/DVBPlaybackCore/CBDATuneInfo.h"
#include "dvb/DVBPlaybackCore/CETHTuneInfo.h"

namespace DVBPlaybackCore {

std::unique_ptr<CTuneInfo> CTuneInfo::Create(const uint8_t guid[16])
{
    if (std::memcmp(guid, CBDATuneInfo::kTypeGuid.data(), 16) == 0)
        return std::make_unique<CBDATuneInfo>();
    if (std::memcmp(guid, CETHTuneInfo::kTypeGuid.data(), 16) == 0)
        return std::make_unique<CETHTuneInfo>();
    return nullptr;
}

void CTuneInfo::CopyTo(CTuneInfo& other) const
{
    other.m_text = m_text;
    other.m_number = m_number;
}

} // namespace DVBPlaybackCore
