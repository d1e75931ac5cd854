// Conditional access table (ISO/IEC 13818-1 2.4.4.6), table_id 0x01.
#pragma once

#include "dvb/libDVB/si/CSILongTable.h"
#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CCATTable : public CSILongTable {
public:
    const CDescriptorList& GetDescriptors() const { return m_descriptors; }

protected:
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    CDescriptorList m_descriptors;
};

} // namespace libDVB
