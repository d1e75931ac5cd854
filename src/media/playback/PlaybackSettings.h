// The compiled-in playback settings: which source and splitter read a file type, which decoder
// serves a media type, and which renderers and filter chains finish a graph. Written by
// BuildPlaybackSettings and read by the graph builder, on the user-interface thread only.
#pragma once

#include "framework/CString.h"
#include "media/playback/CFilterItem.h"
#include "media/playback/CMediaTypeGroup.h"
#include "media/playback/CSourceFileType.h"
#include "media/playback/Guid.h"

extern CSourceSettings SourceSettings;
extern CMediaTypeGroups MediaTypeGroups;
extern CFilterItem VideoRendererFilter;
extern CFilterItem AudioRendererFilter;
extern CFilterItem TextRendererFilter;
extern CFilterItemList AudioFilterChain;
extern CFilterItemList VideoFilterChain;

// Class ids of the own filters, which are created through the graphs' filter factory hook.
extern const GUID CLSID_HarvoAudioDecoderInternal;
extern const GUID CLSID_HarvoMpeg2DecoderInternal;

void BuildPlaybackSettings();

// The text from the last "." of the path to its end; empty when there is none.
CString GetFileExtension(const CString& path);

// The first file type whose extensions text contains the path's extension (both in lower case).
// out is left untouched when none does.
bool FindSourceFileType(const CString& path, CSourceFileType& out);

// The decoder reference of the first group listing the subtype under the major type; the format
// is not looked at.
bool FindDecoderReference(const GUID& majorType, const GUID& subtype, CFilterItem& out);

template <class MediaType>
bool FindDecoderReference(const MediaType& type, CFilterItem& out)
{
    return FindDecoderReference(type.majortype, type.subtype, out);
}
