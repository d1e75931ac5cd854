#include "framework/win/CCommandLineInfo.h"

void CCommandLineInfo::ParseParam(LPCWSTR param, BOOL flag, BOOL)
{
    if (!flag && m_strFileName.IsEmpty()) {
        m_strFileName = param;
        m_nShellCommand = FileOpen;
    }
}
