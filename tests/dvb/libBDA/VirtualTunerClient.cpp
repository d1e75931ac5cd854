#include "VirtualTunerClient.h"

namespace test {

namespace {
// GetProcAddress hands out a generic function pointer; the exports have these exact types.
template <class F>
F Export(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

CVirtualTunerClient::CVirtualTunerClient()
{
    // The server registered itself under the DVB-T locator's class id.
    wchar_t clsid[40];
    StringFromGUID2(CLSID_DVBTLocator, clsid, 40);
    std::wstring key = std::wstring(L"CLSID\\") + clsid + L"\\InprocServer32";
    wchar_t path[MAX_PATH];
    DWORD size = sizeof(path);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return;
    m_module = LoadLibraryW(path);
    if (!m_module)
        return;
    m_map = Export<virtualtuner::MapFrequencyFn>(m_module, "VirtualTunerMapFrequency");
    m_diseqc = Export<virtualtuner::GetDiSEqCFn>(m_module, "VirtualTunerGetDiSEqC");
    m_registrations =
        Export<virtualtuner::GetRegistrationsFn>(m_module, "VirtualTunerGetRegistrations");
    m_lastTune = Export<virtualtuner::GetLastTuneFn>(m_module, "VirtualTunerGetLastTune");
    m_reset = Export<virtualtuner::ResetFn>(m_module, "VirtualTunerReset");
    if (!m_map || !m_diseqc || !m_registrations || !m_lastTune || !m_reset) {
        FreeLibrary(m_module);
        m_module = nullptr;
    }
}

CVirtualTunerClient::~CVirtualTunerClient()
{
    if (m_module)
        FreeLibrary(m_module);
}

std::wstring WidePath(const std::string& path)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], n);
    return wide;
}

} // namespace test
