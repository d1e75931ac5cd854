#include "dvb/libDVB/si/SIReading.h"

#include <algorithm>

#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"

namespace libDVB {

base::CByteReader ReadLoop(base::CByteReader& reader, unsigned reservedBits)
{
    reader.SkipBits(reservedBits);
    const size_t length = reader.Bits(12);
    return reader.Sub(std::min(length, reader.Remaining()));
}

void ReadDescriptorLoop(base::CByteReader& reader, unsigned reservedBits, CDescriptorList& list)
{
    const base::CByteReader loop = ReadLoop(reader, reservedBits);
    ParseDescriptors(list, loop.Current(), static_cast<uint32_t>(loop.Size()));
}

} // namespace libDVB
