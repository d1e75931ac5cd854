// One kind of stream (its major types and subtypes) and the decoder inserted for it.
#pragma once

#include "framework/CArray.h"
#include "framework/CString.h"
#include "media/playback/CFilterItem.h"
#include "media/playback/CSimpleGroup.h"

class CMediaTypeGroup {
public:
    CMediaTypeGroup() = default;
    CMediaTypeGroup(const wchar_t* name, const wchar_t* decoder) : m_name(name), m_decoder(decoder) {}
    CMediaTypeGroup(const CMediaTypeGroup& other) { *this = other; }
    CMediaTypeGroup& operator=(const CMediaTypeGroup& other)
    {
        if (this != &other) {
            m_name = other.m_name;
            m_simpleGroups.RemoveAll();
            for (ptrdiff_t i = 0; i < other.m_simpleGroups.GetSize(); ++i)
                m_simpleGroups.Add(other.m_simpleGroups[i]);
            m_decoder = other.m_decoder;
        }
        return *this;
    }

    CString m_name;
    CSimpleGroups m_simpleGroups;
    CFilterItem m_decoder; // a filter, "Auto" (search the registry) or the empty reference (leave unconnected)
};

class CMediaTypeGroups : public CArray<CMediaTypeGroup, const CMediaTypeGroup&> {};
