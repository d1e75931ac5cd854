#include "media/record/win/CFileSink.h"

#include <cstring>

namespace record {

CFileSink::CFileSink(const std::wstring& path, HRESULT* result) : m_buffer(kBufferSize)
{
    DeleteFileW(path.c_str());
    m_file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (result)
        *result = IsOpen() ? S_OK : E_FAIL;
}

CFileSink::~CFileSink()
{
    if (IsOpen()) {
        WriteBuffer();
        CloseHandle(m_file);
    }
}

HRESULT CFileSink::WriteBuffer()
{
    if (m_fill == 0)
        return S_OK;
    const DWORD size = static_cast<DWORD>(m_fill);
    DWORD written = 0;
    const BOOL ok = WriteFile(m_file, m_buffer.data(), size, &written, nullptr);
    m_fill = 0;
    if (!ok || written != size) {
        m_failed = true;
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CFileSink::Write(const uint8_t* data, int length)
{
    if (!IsOpen() || m_failed)
        return E_FAIL;
    while (length > 0) {
        const int n = length < kBufferSize - m_fill ? length : kBufferSize - m_fill;
        std::memcpy(m_buffer.data() + m_fill, data, static_cast<size_t>(n));
        m_fill += n;
        data += n;
        length -= n;
        if (m_fill == kBufferSize && FAILED(WriteBuffer()))
            return E_FAIL;
    }
    return S_OK;
}

} // namespace record
