#include "brenvo/win/CbrenvoSetting.h"

namespace {

const char* const kValueName = "Tolvik 1.0";
const char* const kHostValue = "UpdateHost";
const char* const kDefaultHost = "update.harvo.com";

} // namespace

const char* const kBrenvoSettingsKey = "Software\\Harvo\\brenvo\\Settings";

CbrenvoSetting g_setting;

void CbrenvoSetting::Load()
{
    m_valueName = kValueName;
    m_host = kDefaultHost;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kBrenvoSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD type = 0, value = 0, size = sizeof(value);
    if (::RegQueryValueExA(key, m_valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(value))
        m_versionId = value;
    else
        m_versionId = 0;
    char host[256] = {};
    DWORD hostSize = sizeof(host) - 1;
    if (::RegQueryValueExA(key, kHostValue, nullptr, &type, reinterpret_cast<BYTE*>(host), &hostSize) ==
            ERROR_SUCCESS &&
        type == REG_SZ && host[0])
        m_host = host;
    ::RegCloseKey(key);
}

BOOL CbrenvoSetting::Save()
{
    m_valueName = kValueName;
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kBrenvoSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return FALSE;
    const DWORD value = m_versionId;
    const LONG status =
        ::RegSetValueExA(key, m_valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
