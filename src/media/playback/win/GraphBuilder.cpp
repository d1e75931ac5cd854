#include "media/playback/win/GraphBuilder.h"

#include <oaidl.h>

#include <functional>
#include <vector>

#include "dshow/MediaTypes.h"
#include "media/playback/GuidText.h"
#include "media/playback/SortMatchList.h"

namespace playback {

using dshow::CComPtr;
using dshow::CMediaType;

HRESULT (*VideoRendererClassIdHook)(GUID* classId) = nullptr;
HRESULT (*CreateFilterHook)(GUID classId, IBaseFilter** filter) = nullptr;
void (*ConfigureRendererHook)(IGraphBuilder* graph, IBaseFilter* renderer) = nullptr;

namespace {

enum class PinClass { kNone, kVideo, kAudio, kText };

const GUID kSubtitleMajor = {0xE487EB08, 0x6B26, 0x4BE9, {0x9D, 0xD3, 0x99, 0x34, 0x34, 0xD3, 0x13, 0xFD}};
const GUID kSubtitleSubtypes[] = {
    {0x3020560F, 0x255A, 0x4DDC, {0x80, 0x6E, 0x6C, 0x5C, 0xC6, 0xDC, 0xD7, 0x0A}},
    {0xF7239E31, 0x9599, 0x4E43, {0x8D, 0xD5, 0xFB, 0xAF, 0x75, 0xCF, 0x37, 0xF1}},
    {0x87C0B230, 0x03A8, 0x4FDF, {0x80, 0x10, 0xB2, 0x7A, 0x58, 0x48, 0x20, 0x0D}},
    {0x326444F7, 0x686F, 0x47FF, {0xA4, 0xB2, 0xC8, 0xC9, 0x63, 0x07, 0xB4, 0xC2}},
};
const GUID kDirectSoundRenderer = {0x79376820, 0x07D0, 0x11CF, {0xA2, 0x4D, 0x00, 0x20, 0xAF, 0xD7, 0x97, 0x67}};

GUID FourCCSubtype(DWORD code)
{
    GUID guid = MEDIASUBTYPE_YUY2;
    guid.Data1 = code;
    return guid;
}

// The class ids of the filters whose outputs are being rendered, outermost first: a converter
// chain that would bring one of them in again is refused, as is nesting beyond kMaxRenderDepth.
std::vector<GUID>& RenderChain()
{
    static std::vector<GUID> chain;
    return chain;
}

bool InChain(IBaseFilter* filter)
{
    CLSID id = GUID_NULL;
    if (!filter || FAILED(filter->GetClassID(&id)))
        return false;
    for (const GUID& g : RenderChain())
        if (g == id)
            return true;
    return false;
}

bool ChainClassInUse(const GUID& classId)
{
    for (const GUID& g : RenderChain())
        if (g == classId)
            return true;
    return false;
}

PinClass ClassOf(const CMTList& types)
{
    for (ptrdiff_t i = 0; i < types.GetSize(); ++i) {
        if (IsUncompressedVideo(&types[i]))
            return PinClass::kVideo;
        if (IsUncompressedAudio(&types[i]))
            return PinClass::kAudio;
        if (IsTextType(&types[i]))
            return PinClass::kText;
    }
    return PinClass::kNone;
}

// Steps 4 and 5 of RenderPin for one added filter: connect the pin to one of its inputs whose
// outputs then render; the filter is removed when none does.
bool ConnectAndRender(IGraphBuilder* graph, IPin* pin, IBaseFilter* filter)
{
    CPinList inputs;
    CollectPins(filter, PINDIR_INPUT, inputs);
    for (ptrdiff_t i = 0; i < inputs.GetSize(); ++i) {
        IPin* input = inputs[i];
        if (FAILED(graph->ConnectDirect(pin, input, nullptr))) {
            pin->Disconnect();
            input->Disconnect();
            continue;
        }
        if (SUCCEEDED(RenderFilterOutputs(graph, filter)))
            return true;
        graph->Disconnect(pin);
        graph->Disconnect(input);
    }
    graph->RemoveFilter(filter);
    return false;
}

HRESULT InsertFilterChain(IGraphBuilder* graph, IPin* pin, IPin** last, const CFilterItemList& chain, bool video)
{
    if (!graph || !pin || !last)
        return E_FAIL;
    CComPtr<IPin> current(pin);
    for (ptrdiff_t e = 0; e < chain.GetSize(); ++e) {
        CComPtr<IBaseFilter> filter;
        if (FAILED(CreateFilterByClassId(chain[e].m_classId, &filter)))
            continue;
        if (FAILED(graph->AddFilter(filter, FilterName(chain[e].m_name))))
            continue;
        CPinList inputs;
        CollectPins(filter, PINDIR_INPUT, inputs);
        bool connected = false;
        for (ptrdiff_t i = 0; i < inputs.GetSize() && !connected; ++i) {
            IPin* input = inputs[i];
            if (FAILED(graph->ConnectDirect(current, input, nullptr))) {
                current->Disconnect();
                input->Disconnect();
                graph->Disconnect(current);
                graph->Disconnect(input);
                continue;
            }
            CPinList outputs;
            if (video)
                CollectUncompressedVideoOutputs(filter, outputs);
            else
                CollectUncompressedAudioOutputs(filter, outputs);
            if (outputs.IsEmpty()) {
                graph->Disconnect(current);
                graph->Disconnect(input);
                break;
            }
            current = outputs[0];
            connected = true;
        }
        if (!connected)
            graph->RemoveFilter(filter);
    }
    *last = current.Detach();
    return S_OK;
}

} // namespace

CString FilterName(const CString& name)
{
    return name.GetLength() > 127 ? name.Left(127) : name;
}

CString MonikerName(IMoniker* moniker, IBaseFilter* filter)
{
    CComPtr<IPropertyBag> bag;
    if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag))) && bag) {
        VARIANT name;
        VariantInit(&name);
        name.vt = VT_BSTR;
        if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR && name.bstrVal) {
            CString text(name.bstrVal);
            VariantClear(&name);
            return text;
        }
        VariantClear(&name);
    }
    CLSID id = GUID_NULL;
    filter->GetClassID(&id);
    return GuidToString(id);
}

bool TryCandidates(IGraphBuilder* graph, const CMatchList& matches, bool skipEmpty,
                   const std::function<bool(IBaseFilter*)>& use)
{
    for (ptrdiff_t m = 0; m < matches.GetSize(); ++m) {
        IEnumMoniker* monikers = matches[m].m_enumerator;
        if (!monikers || (skipEmpty && matches[m].m_count <= 0))
            continue;
        monikers->Reset();
        IMoniker* moniker = nullptr;
        while (monikers->Next(1, &moniker, nullptr) == S_OK && moniker) {
            CComPtr<IMoniker> held;
            held.Attach(moniker);
            moniker = nullptr;
            CComPtr<IBaseFilter> filter;
            if (FAILED(held->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter))) ||
                !filter)
                continue;
            if (FAILED(graph->AddFilter(filter, FilterName(MonikerName(held, filter)))))
                continue;
            if (use(filter))
                return true;
        }
    }
    return false;
}

HRESULT CreateFilterByClassId(const GUID& classId, IBaseFilter** filter)
{
    *filter = nullptr;
    HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(filter));
    if (FAILED(hr) && CreateFilterHook)
        hr = CreateFilterHook(classId, filter);
    if (FAILED(hr) && *filter) {
        (*filter)->Release();
        *filter = nullptr;
    }
    return hr;
}

bool IsUncompressedVideo(const AM_MEDIA_TYPE* type)
{
    if (!type || type->majortype != MEDIATYPE_Video)
        return false;
    const GUID subtypes[] = {MEDIASUBTYPE_RGB1,   MEDIASUBTYPE_RGB4,   MEDIASUBTYPE_RGB8,   MEDIASUBTYPE_RGB555,
                             MEDIASUBTYPE_RGB565, MEDIASUBTYPE_RGB24,  MEDIASUBTYPE_RGB32,  MEDIASUBTYPE_ARGB32,
                             FourCCSubtype(MAKEFOURCC('Y', 'V', 'U', '9')), FourCCSubtype(MAKEFOURCC('Y', '4', '1', '1')),
                             FourCCSubtype(MAKEFOURCC('Y', '4', '1', 'P')), FourCCSubtype(MAKEFOURCC('Y', 'U', 'Y', '2')),
                             FourCCSubtype(MAKEFOURCC('Y', 'V', 'Y', 'U')), FourCCSubtype(MAKEFOURCC('U', 'Y', 'V', 'Y')),
                             FourCCSubtype(MAKEFOURCC('Y', 'V', '1', '2')), FourCCSubtype(MAKEFOURCC('Y', '2', '1', '1'))};
    for (const GUID& s : subtypes)
        if (type->subtype == s)
            return true;
    return false;
}

bool IsUncompressedAudio(const AM_MEDIA_TYPE* type)
{
    return type && type->majortype == MEDIATYPE_Audio &&
           (type->subtype == MEDIASUBTYPE_PCM || type->subtype == MEDIASUBTYPE_IEEE_FLOAT);
}

bool IsTextType(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return false;
    if (type->majortype == MEDIATYPE_Text)
        return true;
    if (type->majortype != kSubtitleMajor)
        return false;
    for (const GUID& s : kSubtitleSubtypes)
        if (type->subtype == s)
            return true;
    return false;
}

HRESULT ConnectPinsDirect(IGraphBuilder* graph, IPin* out, IPin* in)
{
    if (!graph || !out || !in)
        return E_FAIL;
    HRESULT hr = graph->ConnectDirect(out, in, nullptr);
    if (FAILED(hr)) {
        out->Disconnect();
        in->Disconnect();
    }
    return hr;
}

HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* up, IBaseFilter* down)
{
    if (!graph || !up || !down)
        return E_FAIL;
    CPinList outputs, inputs;
    CollectPins(up, PINDIR_OUTPUT, outputs);
    CollectPins(down, PINDIR_INPUT, inputs);
    for (ptrdiff_t o = 0; o < outputs.GetSize(); ++o) {
        if (IsPinConnected(outputs[o]))
            continue;
        for (ptrdiff_t i = 0; i < inputs.GetSize(); ++i) {
            if (IsPinConnected(inputs[i]))
                continue;
            if (SUCCEEDED(graph->ConnectDirect(outputs[o], inputs[i], nullptr)))
                return S_OK;
            outputs[o]->Disconnect();
            inputs[i]->Disconnect();
        }
    }
    return E_FAIL;
}

bool IsPinConnected(IPin* pin)
{
    if (!pin)
        return false;
    CComPtr<IPin> other;
    return SUCCEEDED(pin->ConnectedTo(&other)) && other;
}

void GetPinFilter(IPin* pin, IBaseFilter** filter)
{
    if (!pin || !filter)
        return;
    PIN_INFO info = {};
    if (SUCCEEDED(pin->QueryPinInfo(&info)))
        *filter = info.pFilter; // QueryPinInfo's reference goes to the caller
}

void GetPinMediaTypes(IPin* pin, CMTList& types)
{
    types.RemoveAll();
    CComPtr<IEnumMediaTypes> enumerator;
    if (!pin || FAILED(pin->EnumMediaTypes(&enumerator)) || !enumerator)
        return;
    AM_MEDIA_TYPE* type = nullptr;
    while (enumerator->Next(1, &type, nullptr) == S_OK && type) {
        types.Add(CMediaType(*type));
        dshow::DeleteMediaType(type);
        type = nullptr;
    }
}

void CollectPins(IBaseFilter* filter, PIN_DIRECTION direction, CPinList& pins)
{
    pins.RemoveAll();
    CComPtr<IEnumPins> enumerator;
    if (!filter || FAILED(filter->EnumPins(&enumerator)) || !enumerator)
        return;
    IPin* pin = nullptr;
    while (enumerator->Next(1, &pin, nullptr) == S_OK && pin) {
        PIN_DIRECTION d;
        if (SUCCEEDED(pin->QueryDirection(&d)) && d == direction)
            pins.Add(CComPtr<IPin>(pin));
        pin->Release();
        pin = nullptr;
    }
}

static void CollectOutputsOfClass(IBaseFilter* filter, CPinList& pins, bool (*test)(const AM_MEDIA_TYPE*))
{
    CPinList outputs;
    CollectPins(filter, PINDIR_OUTPUT, outputs);
    pins.RemoveAll();
    for (ptrdiff_t i = 0; i < outputs.GetSize(); ++i) {
        CMTList types;
        GetPinMediaTypes(outputs[i], types);
        for (ptrdiff_t t = 0; t < types.GetSize(); ++t) {
            if (test(&types[t])) {
                pins.Add(outputs[i]);
                break;
            }
        }
    }
}

void CollectUncompressedVideoOutputs(IBaseFilter* filter, CPinList& pins)
{
    CollectOutputsOfClass(filter, pins, IsUncompressedVideo);
}

void CollectUncompressedAudioOutputs(IBaseFilter* filter, CPinList& pins)
{
    CollectOutputsOfClass(filter, pins, IsUncompressedAudio);
}

HRESULT ListGraphFilters(IGraphBuilder* graph, CFilterList& filters)
{
    filters.RemoveAll();
    if (!graph)
        return E_FAIL;
    CComPtr<IEnumFilters> enumerator;
    HRESULT hr = graph->EnumFilters(&enumerator);
    if (FAILED(hr) || !enumerator)
        return FAILED(hr) ? hr : E_FAIL;
    IBaseFilter* filter = nullptr;
    while (enumerator->Next(1, &filter, nullptr) == S_OK && filter) {
        filters.Add(CComPtr<IBaseFilter>(filter));
        filter->Release();
        filter = nullptr;
    }
    return S_OK;
}

HRESULT AddDecoderFromGroups(IGraphBuilder* graph, const AM_MEDIA_TYPE* type, IBaseFilter** decoder)
{
    if (!graph || !decoder || !type || MediaTypeGroups.IsEmpty())
        return E_FAIL;
    *decoder = nullptr;
    CFilterItem reference;
    if (!FindDecoderReference(*type, reference))
        return E_FAIL;
    if (reference.m_classId == GUID_NULL)
        return reference.m_name.IsEmpty() ? S_FALSE : E_FAIL; // "|" leaves the pin; "Auto" searches
    if (ChainClassInUse(reference.m_classId))
        return E_FAIL;
    CComPtr<IBaseFilter> filter;
    HRESULT hr = CreateFilterByClassId(reference.m_classId, &filter);
    if (FAILED(hr))
        return hr;
    hr = graph->AddFilter(filter, FilterName(reference.m_name));
    if (FAILED(hr))
        return hr;
    *decoder = filter.Detach();
    return S_OK;
}

HRESULT RenderPin(IGraphBuilder* graph, IPin* pin)
{
    if (!graph || !pin)
        return E_FAIL;
    if (IsPinConnected(pin))
        return S_FALSE;
    if (static_cast<int>(RenderChain().size()) >= kMaxRenderDepth)
        return E_FAIL;

    // Filters already in the graph.
    CFilterList filters;
    ListGraphFilters(graph, filters);
    CComPtr<IBaseFilter> own;
    GetPinFilter(pin, &own);
    for (ptrdiff_t f = 0; f < filters.GetSize(); ++f) {
        if (filters[f].Get() == own.Get())
            continue;
        CPinList inputs;
        CollectPins(filters[f], PINDIR_INPUT, inputs);
        for (ptrdiff_t i = 0; i < inputs.GetSize(); ++i) {
            if (IsPinConnected(inputs[i]) || FAILED(ConnectPinsDirect(graph, pin, inputs[i])))
                continue;
            if (SUCCEEDED(RenderFilterOutputs(graph, filters[f])))
                return S_OK;
            graph->Disconnect(pin);
            graph->Disconnect(inputs[i]);
        }
    }

    // Uncompressed streams.
    CMTList types;
    GetPinMediaTypes(pin, types);
    HRESULT hr = E_FAIL;
    switch (ClassOf(types)) {
    case PinClass::kVideo: hr = RenderVideoPin(graph, pin); break;
    case PinClass::kAudio: hr = RenderAudioPin(graph, pin); break;
    case PinClass::kText: hr = AddTextRenderer(graph, pin); break;
    case PinClass::kNone: break;
    }
    if (SUCCEEDED(hr))
        return hr;

    // Decoder groups.
    for (ptrdiff_t t = 0; t < types.GetSize(); ++t) {
        CComPtr<IBaseFilter> decoder;
        hr = AddDecoderFromGroups(graph, &types[t], &decoder);
        if (hr == S_FALSE)
            return S_OK;
        if (hr == S_OK && decoder && ConnectAndRender(graph, pin, decoder))
            return S_OK;
    }

    // Registered filters.
    CMatchList matches;
    BuildMatchList(types, matches);
    const bool rendered = TryCandidates(graph, matches, true, [&](IBaseFilter* filter) {
        if (InChain(filter)) {
            graph->RemoveFilter(filter);
            return false;
        }
        return ConnectAndRender(graph, pin, filter);
    });
    if (rendered)
        return S_OK;
    return E_FAIL;
}

HRESULT RenderFilterOutputs(IGraphBuilder* graph, IBaseFilter* filter)
{
    if (!graph || !filter)
        return E_FAIL;
    CLSID id = GUID_NULL;
    filter->GetClassID(&id);
    RenderChain().push_back(id);
    CPinList outputs;
    CollectPins(filter, PINDIR_OUTPUT, outputs);
    ptrdiff_t done = 0;
    for (ptrdiff_t o = 0; o < outputs.GetSize(); ++o) {
        IPin* pin = outputs[o];
        if (IsPinConnected(pin)) {
            ++done;
            continue;
        }
        CMTList types;
        GetPinMediaTypes(pin, types);
        if (types.IsEmpty())
            continue;
        HRESULT hr;
        switch (ClassOf(types)) {
        case PinClass::kVideo: hr = RenderVideoPin(graph, pin); break;
        case PinClass::kAudio: hr = RenderAudioPin(graph, pin); break;
        default: hr = RenderPin(graph, pin); break;
        }
        if (SUCCEEDED(hr))
            ++done;
    }
    RenderChain().pop_back();
    if (done == outputs.GetSize())
        return S_OK;
    return done == 0 ? E_FAIL : S_FALSE;
}

HRESULT AddVideoRenderer(IGraphBuilder* graph, IPin* pin)
{
    if (!graph || !pin)
        return E_FAIL;
    CComPtr<IBaseFilter> renderer;
    GUID classId = GUID_NULL;
    if (VideoRendererClassIdHook && SUCCEEDED(VideoRendererClassIdHook(&classId))) {
        const wchar_t* name = L"Video Renderer";
        if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                    reinterpret_cast<void**>(&renderer))) &&
            CreateFilterHook) {
            renderer.Release();
            name = L"Harvo Video Renderer";
            if (FAILED(CreateFilterHook(classId, &renderer)))
                renderer.Release();
        }
        if (renderer && FAILED(graph->AddFilter(renderer, name)))
            renderer.Release();
    }
    if (!renderer) {
        if (VideoRendererFilter.m_classId == GUID_NULL)
            return graph->Render(pin);
        HRESULT hr = CreateFilterByClassId(VideoRendererFilter.m_classId, &renderer);
        if (FAILED(hr))
            return hr;
        hr = graph->AddFilter(renderer, FilterName(VideoRendererFilter.m_name));
        if (FAILED(hr))
            return hr;
    }
    if (ConfigureRendererHook)
        ConfigureRendererHook(graph, renderer);
    CPinList inputs;
    CollectPins(renderer, PINDIR_INPUT, inputs);
    bool connected = false;
    for (ptrdiff_t i = 0; i < inputs.GetSize() && !connected; ++i) {
        if (SUCCEEDED(graph->ConnectDirect(pin, inputs[i], nullptr))) {
            connected = true;
        } else {
            pin->Disconnect();
            inputs[i]->Disconnect();
        }
    }
    if (!connected) {
        // A renderer that takes none of the pin's types would leave the stream silently unplayed.
        graph->RemoveFilter(renderer);
        return E_FAIL;
    }
    CPinList outputs;
    CollectPins(renderer, PINDIR_OUTPUT, outputs);
    for (ptrdiff_t o = 0; o < outputs.GetSize(); ++o)
        graph->Render(outputs[o]);
    return S_OK;
}

HRESULT AddAudioRenderer(IGraphBuilder* graph, IPin* pin)
{
    if (!graph || !pin)
        return E_FAIL;
    CComPtr<IMediaFilter> media;
    media.QueryFrom(graph);
    CComPtr<IFilterGraph> filterGraph(graph);
    if (AudioRendererFilter.m_classId == GUID_NULL) {
        CComPtr<IBaseFilter> sound;
        HRESULT hr = CoCreateInstance(kDirectSoundRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                      reinterpret_cast<void**>(&sound));
        if (FAILED(hr))
            return hr;
        hr = graph->AddFilter(sound, L"Default DirectSound Device");
        if (FAILED(hr))
            return hr;
        CPinList inputs;
        CollectPins(sound, PINDIR_INPUT, inputs);
        for (ptrdiff_t i = 0; i < inputs.GetSize(); ++i) {
            if (SUCCEEDED(ConnectPinsDirect(graph, pin, inputs[i]))) {
                graph->SetDefaultSyncSource();
                return S_OK;
            }
        }
    }
    CComPtr<IBaseFilter> renderer;
    HRESULT hr = CreateFilterByClassId(AudioRendererFilter.m_classId, &renderer);
    if (FAILED(hr))
        return hr;
    hr = graph->AddFilter(renderer, FilterName(AudioRendererFilter.m_name));
    if (FAILED(hr))
        return hr;
    CPinList inputs;
    CollectPins(renderer, PINDIR_INPUT, inputs);
    for (ptrdiff_t i = 0; i < inputs.GetSize(); ++i) {
        if (SUCCEEDED(graph->ConnectDirect(pin, inputs[i], nullptr))) {
            graph->SetDefaultSyncSource();
            return S_OK;
        }
        pin->Disconnect();
        inputs[i]->Disconnect();
    }
    return E_FAIL;
}

HRESULT AddTextRenderer(IGraphBuilder* graph, IPin* pin)
{
    if (!graph || !pin)
        return E_FAIL;
    if (TextRendererFilter.m_classId == GUID_NULL)
        return graph->Render(pin);
    CComPtr<IBaseFilter> renderer;
    HRESULT hr = CoCreateInstance(TextRendererFilter.m_classId, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&renderer));
    if (FAILED(hr))
        return hr;
    hr = graph->AddFilter(renderer, FilterName(TextRendererFilter.m_name));
    if (FAILED(hr))
        return hr;
    CPinList inputs;
    CollectPins(renderer, PINDIR_INPUT, inputs);
    for (ptrdiff_t i = 0; i < inputs.GetSize(); ++i) {
        if (SUCCEEDED(graph->Connect(pin, inputs[i]))) {
            CPinList outputs;
            CollectPins(renderer, PINDIR_OUTPUT, outputs);
            for (ptrdiff_t o = 0; o < outputs.GetSize(); ++o)
                graph->Render(outputs[o]);
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT InsertVideoFilterChain(IGraphBuilder* graph, IPin* pin, IPin** last)
{
    return InsertFilterChain(graph, pin, last, VideoFilterChain, true);
}

HRESULT InsertAudioFilterChain(IGraphBuilder* graph, IPin* pin, IPin** last)
{
    return InsertFilterChain(graph, pin, last, AudioFilterChain, false);
}

HRESULT RenderVideoPin(IGraphBuilder* graph, IPin* pin)
{
    CComPtr<IPin> last;
    if (SUCCEEDED(InsertVideoFilterChain(graph, pin, &last)))
        return AddVideoRenderer(graph, last);
    return AddVideoRenderer(graph, pin);
}

HRESULT RenderAudioPin(IGraphBuilder* graph, IPin* pin)
{
    CComPtr<IPin> last;
    if (SUCCEEDED(InsertAudioFilterChain(graph, pin, &last)))
        return AddAudioRenderer(graph, last);
    return AddAudioRenderer(graph, pin);
}

void BuildMatchList(const CMTList& types, CMatchList& out)
{
    out.RemoveAll();
    CComPtr<IFilterMapper2> mapper;
    if (FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                reinterpret_cast<void**>(&mapper))))
        return;
    for (ptrdiff_t t = 0; t < types.GetSize(); ++t) {
        GUID pair[2] = {types[t].majortype, types[t].subtype};
        CMatchItem item;
        if (FAILED(mapper->EnumMatchingFilters(&item.m_enumerator, 0, TRUE, MERIT_UNLIKELY, TRUE, 1, pair, nullptr,
                                               nullptr, FALSE, FALSE, 0, nullptr, nullptr, nullptr)) ||
            !item.m_enumerator)
            continue;
        IMoniker* moniker = nullptr;
        while (item.m_enumerator->Next(1, &moniker, nullptr) == S_OK && moniker) {
            ++item.m_count;
            moniker->Release();
            moniker = nullptr;
        }
        out.Add(item);
    }
    SortMatchList(out);
}

HRESULT RemoveDownstream(IGraphBuilder* graph, IPin* outputPin)
{
    if (!graph || !outputPin)
        return E_FAIL;
    CComPtr<IPin> input;
    if (FAILED(outputPin->ConnectedTo(&input)) || !input)
        return S_OK;
    PIN_DIRECTION direction;
    if (FAILED(outputPin->QueryDirection(&direction)) || direction != PINDIR_OUTPUT)
        return E_FAIL;
    CComPtr<IBaseFilter> downstream;
    GetPinFilter(input, &downstream);
    int inputs = 0;
    if (downstream) {
        CComPtr<IEnumPins> pins;
        if (SUCCEEDED(downstream->EnumPins(&pins)) && pins) {
            IPin* pin = nullptr;
            while (pins->Next(1, &pin, nullptr) == S_OK && pin) {
                PIN_DIRECTION d;
                if (SUCCEEDED(pin->QueryDirection(&d))) {
                    if (d == PINDIR_OUTPUT)
                        RemoveDownstream(graph, pin);
                    else
                        ++inputs;
                }
                pin->Release();
                pin = nullptr;
            }
        }
    }
    graph->Disconnect(outputPin);
    graph->Disconnect(input);
    if (downstream && inputs == 1)
        graph->RemoveFilter(downstream);
    return S_OK;
}

} // namespace playback
