// One playable file type: the extensions it covers and the source and splitter that read it.
#pragma once

#include "framework/CArray.h"
#include "framework/CString.h"
#include "media/playback/CFilterItem.h"

class CSourceFileType {
public:
    CSourceFileType() = default;
    CSourceFileType(const wchar_t* name, const wchar_t* extensions, const wchar_t* source, const wchar_t* splitter,
                    bool useSplitter)
        : m_name(name), m_extensions(extensions), m_sourceFilter(source), m_splitterFilter(splitter),
          m_useSplitter(useSplitter)
    {
    }

    CString m_name;
    CString m_extensions; // each with its leading dot; several may stand in one text
    CFilterItem m_sourceFilter;   // must offer IFileSourceFilter
    CFilterItem m_splitterFilter; // ignored unless m_useSplitter
    bool m_useSplitter = false;
};

class CSourceSettings : public CArray<CSourceFileType, const CSourceFileType&> {};
