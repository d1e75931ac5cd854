#include "viewer/LoadLocalizedString.h"

#include <atomic>

namespace {
std::atomic<LANGID> g_language{1033};
}

void SetUiLanguage(LANGID language)
{
    g_language = language;
}

LANGID GetUiLanguage()
{
    return g_language;
}

std::wstring LoadStringInLanguage(HMODULE module, UINT id, LANGID language)
{
    // String tables are stored in blocks of 16 counted strings; block n holds ids 16 (n - 1) ...
    HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!block)
        return std::wstring();
    HGLOBAL loaded = LoadResource(module, block);
    const auto* p = static_cast<const WCHAR*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = SizeofResource(module, block) / sizeof(WCHAR);
    if (!p)
        return std::wstring();
    DWORD at = 0;
    for (UINT i = 0; i < id % 16; ++i) {
        if (at >= size)
            return std::wstring();
        at += 1 + p[at];
    }
    if (at >= size || at + 1 + p[at] > size)
        return std::wstring();
    return std::wstring(p + at + 1, p[at]);
}

std::wstring LoadLocalizedString(UINT id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    // Language 0 alone could pick the same empty block of the user's language again (the loader
    // prefers it): fall back to English explicitly, then to the loader's own choice.
    for (LANGID language : {GetUiLanguage(), static_cast<LANGID>(1033), static_cast<LANGID>(0)}) {
        std::wstring text = LoadStringInLanguage(module, id, language);
        if (!text.empty())
            return text;
    }
    return std::wstring();
}
