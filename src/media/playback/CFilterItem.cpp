#include "media/playback/CFilterItem.h"

#include "media/playback/GuidText.h"

CFilterItem& CFilterItem::operator=(const wchar_t* text)
{
    const CString whole(text ? text : L"");
    const int bar = whole.Find(L'|');
    m_name = bar < 0 ? CString() : whole.Left(bar);
    const CString rest = whole.Mid(bar + 1);
    m_classId = rest.IsEmpty() ? GUID{} : StringToGuid(rest);
    return *this;
}

CString CFilterItem::ToString() const
{
    return m_name + L"|" + GuidToString(m_classId);
}
