// Profile values of the application in the registry under HKCU.
#include "framework/win/CWinApp.h"

#include <vector>

void CWinApp::SetRegistryKey(LPCWSTR key)
{
    m_registryKey = key;
    m_profileName = GetAppName();
}

HKEY CWinApp::OpenSectionKey(LPCWSTR section, bool create)
{
    if (m_registryKey.IsEmpty() || m_profileName.IsEmpty())
        return nullptr;
    CString path = CString(L"Software\\") + m_registryKey + L"\\" + m_profileName;
    if (section && *section)
        path += CString(L"\\") + section;
    HKEY key = nullptr;
    LONG status = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                         : ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue)
{
    HKEY key = OpenSectionKey(section, false);
    if (!key)
        return static_cast<UINT>(defaultValue);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value); // registry sizes are in bytes
    LONG status = ::RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return static_cast<UINT>(defaultValue);
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value)
{
    HKEY key = OpenSectionKey(section, true);
    if (!key)
        return FALSE;
    DWORD data = static_cast<DWORD>(value);
    LONG status = ::RegSetValueExW(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue)
{
    CString result(defaultValue);
    HKEY key = OpenSectionKey(section, false);
    if (!key)
        return result;
    DWORD type = 0;
    DWORD size = 0; // in bytes
    LONG status = ::RegQueryValueExW(key, entry, nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS && type == REG_SZ) {
        // The stored bytes need not end in a terminator, nor be a whole number of characters:
        // the buffer holds every byte (rounded up to characters) and one terminator of ours.
        std::vector<wchar_t> buffer((size + 1) / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        status = ::RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (status == ERROR_SUCCESS && type == REG_SZ) {
            size_t length = bytes / sizeof(wchar_t); // a trailing odd byte is no character
            buffer[length < buffer.size() ? length : buffer.size() - 1] = L'\0';
            result = buffer.data();
        }
    }
    ::RegCloseKey(key);
    return result;
}
