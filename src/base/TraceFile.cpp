#include "base/TraceFile.h"

#include <cstdlib>

#include "base/Utf16.h"

namespace base {

CTraceFile::~CTraceFile() { Stop(); }

bool CTraceFile::Start(const std::u16string& path)
{
    Stop();
#ifdef _WIN32
    m_file = _wfopen(std::wstring(path.begin(), path.end()).c_str(), L"ab");
#else
    m_file = std::fopen(Utf16ToUtf8(path).c_str(), "ab");
#endif
    if (!m_file)
        return false;
    SetTraceSink(this);
    return true;
}

void CTraceFile::Stop()
{
    if (!m_file)
        return;
    SetTraceSink(nullptr);
    std::fclose(m_file);
    m_file = nullptr;
}

void CTraceFile::OnRefused(const char* what, const char* why)
{
    std::fprintf(m_file, "refused %s: %s\n", what, why);
    std::fflush(m_file);
}

bool StartTraceFromEnvironment(CTraceFile& file)
{
#ifdef _WIN32
    const wchar_t* value = _wgetenv(L"TOLVIK_TRACE");
    if (!value || !*value)
        return false;
    const std::wstring wide(value);
    return file.Start(std::u16string(wide.begin(), wide.end()));
#else
    const char* value = std::getenv(kTraceVariable);
    if (!value || !*value)
        return false;
    return file.Start(Utf8ToUtf16(value));
#endif
}

} // namespace base
