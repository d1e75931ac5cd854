#include "dvb/DVBPlaybackCore/CBDATuneInfo.h"

#include "dvb/DVBPlaybackCore/FileString.h"

namespace DVBPlaybackCore {

uint32_t CBDATuneInfo::ValueCount() const
{
    if (!HasLocator())
        return 0;
    return m_number == kDVBS ? 3 : 2;
}

bool CBDATuneInfo::Load(base::CByteReader& file)
{
    const uint32_t type = file.U32LE();
    const uint32_t port = file.U32LE();
    std::u16string name;
    if (file.Overrun() || !ReadFileString(file, name))
        return false;
    m_number = type;
    m_diseqcPort = port;
    m_text = std::move(name);
    const uint32_t count = ValueCount();
    int32_t values[3] = {};
    for (uint32_t i = 0; i < count; ++i)
        values[i] = static_cast<int32_t>(file.U32LE());
    if (file.Overrun())
        return false;
    m_frequency = values[0];
    m_second = values[1];
    m_polarisation = values[2];
    return true;
}

void CBDATuneInfo::Save(base::CByteWriter& file, uint32_t& counter) const
{
    file.Bytes(m_type.data(), m_type.size());
    file.U32LE(m_number);
    file.U32LE(m_diseqcPort);
    counter += 24 + file.Utf16String(m_text);
    const int32_t values[3] = {m_frequency, m_second, m_polarisation};
    const uint32_t count = ValueCount();
    for (uint32_t i = 0; i < count; ++i)
        file.U32LE(static_cast<uint32_t>(values[i]));
    counter += 4 * count;
}

bool CBDATuneInfo::Equals(const CTuneInfo& other) const
{
    if (other.GetTypeGuid() != m_type)
        return false;
    const auto& bda = static_cast<const CBDATuneInfo&>(other);
    if (bda.m_text != m_text || bda.m_number != m_number)
        return false;
    return !HasLocator() || bda.m_frequency == m_frequency;
}

std::unique_ptr<CTuneInfo> CBDATuneInfo::Clone() const
{
    auto copy = std::make_unique<CBDATuneInfo>();
    CopyTo(*copy);
    copy->m_diseqcPort = m_diseqcPort;
    copy->m_frequency = m_frequency;
    copy->m_second = m_second;
    copy->m_polarisation = m_polarisation;
    return copy;
}

} // namespace DVBPlaybackCore
