#include "dvb/DVBPlaybackCore/FileString.h"

namespace DVBPlaybackCore {

bool ReadFileString(base::CByteReader& file, std::u16string& text)
{
    const uint32_t bytes = file.U32LE();
    if (file.Overrun() || (bytes & 1) || bytes > file.Remaining())
        return false;
    std::u16string read(bytes / 2, u'\0');
    for (auto& c : read)
        c = static_cast<char16_t>(file.U16LE());
    text = std::move(read);
    return true;
}

} // namespace DVBPlaybackCore
