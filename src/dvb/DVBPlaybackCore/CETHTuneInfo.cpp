#include "dvb/DVBPlaybackCore/CETHTuneInfo.h"

#include "dvb/DVBPlaybackCore/FileString.h"

namespace DVBPlaybackCore {

bool CETHTuneInfo::Load(base::CByteReader& file)
{
    const uint32_t port = file.U32LE();
    std::u16string address;
    if (file.Overrun() || !ReadFileString(file, address))
        return false;
    m_number = port;
    m_text = std::move(address);
    return true;
}

void CETHTuneInfo::Save(base::CByteWriter& file, uint32_t& counter) const
{
    file.Bytes(m_type.data(), m_type.size());
    file.U32LE(m_number);
    counter += 20 + file.Utf16String(m_text);
}

bool CETHTuneInfo::Equals(const CTuneInfo& other) const
{
    return other.GetTypeGuid() == m_type && other.GetText() == m_text && other.GetNumber() == m_number;
}

std::unique_ptr<CTuneInfo> CETHTuneInfo::Clone() const
{
    auto copy = std::make_unique<CETHTuneInfo>();
    CopyTo(*copy);
    return copy;
}

} // namespace DVBPlaybackCore
