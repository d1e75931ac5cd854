// A recorder sink that writes through a 64 KiB buffer into a file it creates anew.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "media/record/CBaseRecorderSink.h"

namespace record {

class CFileSink : public CBaseRecorderSink {
public:
    // *result: S_OK when the file was created, else a failure (and Write fails).
    CFileSink(const std::wstring& path, HRESULT* result);
    ~CFileSink() override;

    HRESULT Write(const uint8_t* data, int length) override;
    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }

    static constexpr int kBufferSize = 65536;

private:
    HRESULT WriteBuffer();

    std::vector<uint8_t> m_buffer;
    int m_fill = 0;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    bool m_failed = false;
};

} // namespace record
