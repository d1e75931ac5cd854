// The graph builder: finishes DirectShow output pins by the built-in playback settings instead of
// the platform's intelligent connect. A pin goes to a filter already in the graph, to the renderer
// of its uncompressed class, to the decoder its media-type group names, or last to a registered
// filter the filter mapper finds; each added filter's outputs are finished the same way. Runs on
// the user-interface thread, which owns the graphs; keeps no state between calls.
#pragma once

#include <functional>

#include "dshow/CComPtr.h"
#include "dshow/CMediaType.h"
#include "framework/CArray.h"
#include "media/playback/PlaybackSettings.h"

namespace playback {

class CPinList : public CArray<dshow::CComPtr<IPin>, const dshow::CComPtr<IPin>&> {};
class CFilterList : public CArray<dshow::CComPtr<IBaseFilter>, const dshow::CComPtr<IBaseFilter>&> {};
class CMTList : public CArray<dshow::CMediaType, const dshow::CMediaType&> {};

struct CMatchItem {
    dshow::CComPtr<IEnumMoniker> m_enumerator;
    LONG m_count = 0;
};
class CMatchList : public CArray<CMatchItem, const CMatchItem&> {};

// The hook slots the playback objects install for the system's own, unregistered filters.
extern HRESULT (*VideoRendererClassIdHook)(GUID* classId);
extern HRESULT (*CreateFilterHook)(GUID classId, IBaseFilter** filter);
extern void (*ConfigureRendererHook)(IGraphBuilder* graph, IBaseFilter* renderer);

// Nesting of renders through added filters; deeper chains are refused.
constexpr int kMaxRenderDepth = 8;

HRESULT RenderPin(IGraphBuilder* graph, IPin* pin);
HRESULT RenderFilterOutputs(IGraphBuilder* graph, IBaseFilter* filter);
HRESULT AddDecoderFromGroups(IGraphBuilder* graph, const AM_MEDIA_TYPE* type, IBaseFilter** decoder);
HRESULT AddVideoRenderer(IGraphBuilder* graph, IPin* pin);
HRESULT AddAudioRenderer(IGraphBuilder* graph, IPin* pin);
HRESULT AddTextRenderer(IGraphBuilder* graph, IPin* pin);
HRESULT RenderVideoPin(IGraphBuilder* graph, IPin* pin);
HRESULT RenderAudioPin(IGraphBuilder* graph, IPin* pin);
HRESULT InsertVideoFilterChain(IGraphBuilder* graph, IPin* pin, IPin** last);
HRESULT InsertAudioFilterChain(IGraphBuilder* graph, IPin* pin, IPin** last);
void BuildMatchList(const CMTList& types, CMatchList& out);
HRESULT RemoveDownstream(IGraphBuilder* graph, IPin* outputPin);

HRESULT ConnectPinsDirect(IGraphBuilder* graph, IPin* out, IPin* in);
HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* up, IBaseFilter* down);
bool IsPinConnected(IPin* pin);
void GetPinFilter(IPin* pin, IBaseFilter** filter);
void GetPinMediaTypes(IPin* pin, CMTList& types);
void CollectPins(IBaseFilter* filter, PIN_DIRECTION direction, CPinList& pins);
void CollectUncompressedVideoOutputs(IBaseFilter* filter, CPinList& pins);
void CollectUncompressedAudioOutputs(IBaseFilter* filter, CPinList& pins);
HRESULT ListGraphFilters(IGraphBuilder* graph, CFilterList& filters);
bool IsUncompressedVideo(const AM_MEDIA_TYPE* type);
bool IsUncompressedAudio(const AM_MEDIA_TYPE* type);
bool IsTextType(const AM_MEDIA_TYPE* type);

// The name a filter is added under: at most the 127 characters a filter name holds.
CString FilterName(const CString& name);
// The "FriendlyName" of a registered filter's moniker, or the text of the filter's class id
// when it has none that can be read.
CString MonikerName(IMoniker* moniker, IBaseFilter* filter);

// Binds the registered filters of the match items in list order (passing over items without an
// enumerator, and with skipEmpty those counted empty), adds each to the graph under its friendly
// name and hands it to `use`, until `use` keeps one (true). `use` removes a filter it does not keep.
bool TryCandidates(IGraphBuilder* graph, const CMatchList& matches, bool skipEmpty,
                   const std::function<bool(IBaseFilter*)>& use);

// CoCreateInstance, then CreateFilterHook when that fails.
HRESULT CreateFilterByClassId(const GUID& classId, IBaseFilter** filter);

} // namespace playback
