#include "framework/win/CDocument.h"

BOOL CDocument::OnNewDocument()
{
    m_strTitle = L"Untitled";
    return TRUE;
}
