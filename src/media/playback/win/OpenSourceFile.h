// Opening a media file for playback: the source and parser filters go into the graph, and the
// filter whose output pins carry the elementary streams is handed back for RenderPin.
#pragma once

#include "framework/CString.h"
#include "media/playback/win/GraphBuilder.h"

namespace playback {

// The built-in file type's source and splitter, else the platform's source and a parser from the
// registry (or the source itself when it already delivers parsed streams).
HRESULT OpenSourceFile(IGraphBuilder* graph, const CString& path, IBaseFilter** parser);
HRESULT ConnectParser(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter** parser);
HRESULT ConnectParserFromMatches(IGraphBuilder* graph, IPin* pin, IBaseFilter** parser, const CMatchList& matches);

} // namespace playback
