#include "framework/win/CView.h"

#include "framework/win/CCreateContext.h"

BOOL CView::Create(CWnd* parent, UINT id, CCreateContext* context)
{
    m_pDocument = context ? context->m_pCurrentDoc : nullptr;
    RECT rect = {};
    return CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}
