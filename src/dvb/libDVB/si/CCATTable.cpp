#include "dvb/libDVB/si/CCATTable.h"

#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"

namespace libDVB {

HRESULT CCATTable::ParseBody(base::CByteReader& body)
{
    CDescriptorList descriptors;
    ParseDescriptors(descriptors, body.Current(), static_cast<uint32_t>(body.Size()));
    m_descriptors = std::move(descriptors);
    return S_OK;
}

} // namespace libDVB
