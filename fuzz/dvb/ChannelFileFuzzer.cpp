// Arbitrary bytes as a "\channels.dat": records are read up to the first unsound one without
// overreading, and every record read writes back to bytes that read again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dvb/DVBPlaybackCore/CQORService.h"

namespace {

std::vector<uint8_t> Saved(const DVBPlaybackCore::CQORService& record)
{
    std::vector<uint8_t> bytes;
    base::CByteWriter writer(bytes);
    record.Save(writer);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    base::CByteReader file(data, size);
    const uint32_t count = file.U32LE();
    for (uint32_t i = 0; i < count && !file.Empty(); ++i) {
        DVBPlaybackCore::CQORService record(nullptr, file);
        if (!record.IsValid())
            break;
        const std::vector<uint8_t> written = Saved(record);
        base::CByteReader again(written.data(), written.size());
        DVBPlaybackCore::CQORService copy(nullptr, again);
        if (!copy.IsValid() || !again.Empty() || Saved(copy) != written)
            __builtin_trap();
    }
    return 0;
}
