// The timeshift ring's temporary file: a unique name with the prefix "qortspb" in the temp folder,
// opened exclusively and deleted when it is closed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <windows.h>

#include "base/Result.h"
#include "dvb/libDVB/timeshift/CTSRingFile.h"

namespace libDVB {

class CTSTemporaryFile : public CTSRingFile::CStorage {
public:
    // The file, already `length` bytes long; null when it cannot be created or sized.
    static std::unique_ptr<CTSTemporaryFile> Create(uint64_t length);
    ~CTSTemporaryFile() override;
    CTSTemporaryFile(const CTSTemporaryFile&) = delete;
    CTSTemporaryFile& operator=(const CTSTemporaryFile&) = delete;

    bool ReadAt(uint64_t offset, uint8_t* buffer, uint32_t length) override;
    bool WriteAt(uint64_t offset, const uint8_t* data, uint32_t length) override;
    bool SetLength(uint64_t length) override;

    // Free bytes available to the caller on the file's drive.
    uint64_t GetFreeBytes() const;
    const std::wstring& GetPath() const { return m_path; }

private:
    CTSTemporaryFile(HANDLE file, std::wstring folder, std::wstring path);

    HANDLE m_file;
    std::wstring m_folder;
    std::wstring m_path;
};

} // namespace libDVB
