// Time and date table (ETSI EN 300 468 5.2.5), table_id 0x70.
#pragma once

#include "dvb/libDVB/si/CSITable.h"

namespace libDVB {

class CTDTTable : public CSITable {
public:
    int64_t GetUtcTime() const { return m_utcTime; }

protected:
    uint32_t MinimumBody() const override { return 5; }
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    int64_t m_utcTime = 0;
};

} // namespace libDVB
