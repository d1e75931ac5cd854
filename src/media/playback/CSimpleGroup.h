// One major type with the subtypes of it that belong to a media-type group.
#pragma once

#include "framework/CArray.h"
#include "media/playback/Guid.h"

class CGuidArray : public CArray<GUID, const GUID&> {};

class CSimpleGroup {
public:
    CSimpleGroup() = default;
    explicit CSimpleGroup(const GUID& majorType) : m_majorType(majorType) {}
    CSimpleGroup(const CSimpleGroup& other) { *this = other; }
    CSimpleGroup& operator=(const CSimpleGroup& other)
    {
        if (this != &other) {
            m_majorType = other.m_majorType;
            m_subtypes.RemoveAll();
            for (ptrdiff_t i = 0; i < other.m_subtypes.GetSize(); ++i)
                m_subtypes.Add(other.m_subtypes[i]);
        }
        return *this;
    }

    GUID m_majorType{};
    CGuidArray m_subtypes;
};

class CSimpleGroups : public CArray<CSimpleGroup, const CSimpleGroup&> {};
