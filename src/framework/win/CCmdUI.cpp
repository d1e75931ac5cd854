#include "framework/win/CCmdUI.h"

#include "framework/win/CCmdTarget.h"
#include "framework/win/CMenu.h"

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target)
{
    return target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
}
