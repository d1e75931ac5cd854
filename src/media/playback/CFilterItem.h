// One filter reference: the name a filter is added under and the class it is created from, or
// in text form "name|{class id}".
#pragma once

#include "framework/CArray.h"
#include "framework/CString.h"
#include "media/playback/Guid.h"

class CFilterItem {
public:
    CFilterItem() = default;
    CFilterItem(const wchar_t* text) { *this = text; }
    CFilterItem(const CString& text) { *this = text.GetString(); }
    CFilterItem(const CString& name, const GUID& classId) : m_name(name), m_classId(classId) {}

    CFilterItem& operator=(const wchar_t* text);
    CFilterItem& operator=(const CString& text) { return *this = text.GetString(); }

    CString ToString() const;
    bool IsEqualText(const wchar_t* text) const { return ToString() == text; }

    CString m_name;
    GUID m_classId{};
};

class CFilterItemList : public CArray<CFilterItem, const CFilterItem&> {};
