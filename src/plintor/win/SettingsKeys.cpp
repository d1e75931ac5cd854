#include "plintor/win/SettingsKeys.h"

const wchar_t kViewerKey[] = L"Software\\Harvo\\Tolvik";
const wchar_t kSettingsKey[] = L"Software\\Harvo\\Tolvik\\qor";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"Tolvik";

bool ReadDword(HKEY key, LPCWSTR name, DWORD* value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
        return false;
    *value = data;
    return true;
}

void WriteDword(HKEY key, LPCWSTR name, DWORD value)
{
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

bool ReadString(HKEY key, LPCWSTR name, CString* value)
{
    wchar_t buffer[261] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    const DWORD characters = size / sizeof(wchar_t);
    if (characters == 0 || buffer[characters - 1] != L'\0')
        return false;
    *value = buffer;
    return true;
}

void WriteString(HKEY key, LPCWSTR name, const CString& value)
{
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()),
                     static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t)));
}

CString ProgramFolderWithSlash()
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path, static_cast<int>(length < MAX_PATH ? length : 0));
    return folder.Left(folder.ReverseFind(L'\\') + 1);
}
