// The space available to the caller on the volume that holds a folder. The volume is found by
// its mount point, so UNC paths and folders mounted into another drive are asked correctly.
#pragma once

#include <string>

#include "media/record/CFreeSpaceQuery.h"

namespace record {

class CVolumeFreeSpace : public CFreeSpaceQuery {
public:
    explicit CVolumeFreeSpace(const std::wstring& folder);
    bool FreeBytes(uint64_t* bytes) override;
    const std::wstring& Root() const { return m_root; }

private:
    std::wstring m_root;
};

} // namespace record
