#include "plintor/win/LoadUiString.h"

#include <atomic>

#include "framework/win/CWinApp.h"

namespace {

std::atomic<LANGID> s_uiLanguage{0};

} // namespace

CString LoadUiString(UINT id)
{
    CString text;
    text.LoadString(AfxGetResourceHandle(), id, s_uiLanguage.load());
    if (text.IsEmpty())
        text.LoadString(AfxGetResourceHandle(), id, 0);
    return text;
}

void SetUiLanguage(LANGID language)
{
    s_uiLanguage = language;
}

LANGID GetUiLanguage()
{
    return s_uiLanguage.load();
}
