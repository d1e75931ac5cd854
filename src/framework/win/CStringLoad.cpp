// CString from the string tables of a module: blocks of 16 counted UTF-16 strings, block n
// holding the ids 16 (n - 1) to 16 n - 1.
#include "framework/CString.h"

#include "framework/win/CWinApp.h"

BOOL CString::LoadString(HINSTANCE module, UINT id, WORD language)
{
    Empty();
    if (id > 0xFFFF)
        return FALSE;
    HRSRC resource = ::FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW((id >> 4) + 1), language);
    if (!resource)
        return FALSE;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const WCHAR* block = loaded ? static_cast<const WCHAR*>(::LockResource(loaded)) : nullptr;
    if (!block)
        return FALSE;
    const WCHAR* end = block + ::SizeofResource(module, resource) / sizeof(WCHAR);
    const WCHAR* entry = block;
    for (UINT skip = id & 15; skip > 0; --skip) {
        if (entry >= end)
            return FALSE;
        entry += 1 + *entry;
    }
    // A length that runs past the block is a damaged table: nothing is taken from it.
    if (entry >= end || *entry > end - entry - 1)
        return FALSE;
    m_text.assign(entry + 1, *entry);
    return !m_text.empty();
}

BOOL CString::LoadString(UINT id)
{
    return LoadString(AfxGetResourceHandle(), id, 0);
}
