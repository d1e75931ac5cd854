#include "dvb/libDVB/si/SIReading.h"

#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"

namespace libDVB {

HRESULT ReadDescriptorLoop(base::CByteReader& reader, unsigned reservedBits, CDescriptorList& list)
{
    reader.SkipBits(reservedBits);
    const uint32_t length = reader.Bits(12);
    base::CByteReader loop = reader.Sub(length);
    if (reader.Overrun())
        return E_FAIL;
    return ParseDescriptors(list, loop.Current(), static_cast<uint32_t>(loop.Size()));
}

} // namespace libDVB
