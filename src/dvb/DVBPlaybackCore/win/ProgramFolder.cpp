#include "dvb/DVBPlaybackCore/win/ProgramFolder.h"

#include <vector>

namespace DVBPlaybackCore {

std::u16string ProgramFolder(HMODULE module)
{
    // A path may be longer than MAX_PATH; the call says so only by filling the whole buffer.
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::u16string();
        if (length < buffer.size())
            break;
        if (buffer.size() >= 65536)
            return std::u16string();
        buffer.resize(buffer.size() * 2);
    }
    std::u16string path(buffer.begin(), buffer.begin() + length);
    const size_t slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

} // namespace DVBPlaybackCore
