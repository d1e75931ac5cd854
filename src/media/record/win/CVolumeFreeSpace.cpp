#include "media/record/win/CVolumeFreeSpace.h"

#include <vector>

#include <windows.h>

namespace record {

CVolumeFreeSpace::CVolumeFreeSpace(const std::wstring& folder)
{
    std::vector<wchar_t> root(folder.size() + MAX_PATH + 1);
    if (!folder.empty() && GetVolumePathNameW(folder.c_str(), root.data(), static_cast<DWORD>(root.size())))
        m_root = root.data();
    else
        m_root = folder; // asked as it is; a failing query then stops the recording
}

bool CVolumeFreeSpace::FreeBytes(uint64_t* bytes)
{
    ULARGE_INTEGER available;
    if (m_root.empty() || !GetDiskFreeSpaceExW(m_root.c_str(), &available, nullptr, nullptr)) {
        *bytes = 0;
        return false;
    }
    *bytes = available.QuadPart;
    return true;
}

} // namespace record
