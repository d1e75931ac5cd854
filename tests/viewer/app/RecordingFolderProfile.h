// The frame tests' profile value that names the recordings folder, written before the frame
// starts (the frame reads it once, on creation).
#pragma once
#include <windows.h>
#include <cwchar>
#include <string>

inline bool WriteRecordingFolder(const wchar_t* profileKey, const wchar_t* folder)
{
    const std::wstring key = std::wstring(profileKey) + L"\\qor";
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG written = RegSetValueExW(opened, L"RecPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                                        static_cast<DWORD>((wcslen(folder) + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return written == ERROR_SUCCESS;
}
