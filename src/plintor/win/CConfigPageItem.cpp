#include "plintor/win/CConfigPageItem.h"

CConfigPageItem::CConfigPageItem(const CString& title, UINT iconId, std::unique_ptr<CWnd> page, CLoadSave* loadSave)
    : m_title(title), m_page(std::move(page)), m_loadSave(loadSave)
{
    m_icon.LoadDIBSection(iconId);
}
