#include "media/playback/win/OpenSourceFile.h"

namespace playback {

using dshow::CComPtr;

HRESULT OpenSourceFile(IGraphBuilder* graph, const CString& path, IBaseFilter** parser)
{
    if (!graph || !parser)
        return E_POINTER;
    *parser = nullptr;
    CComPtr<IBaseFilter> source;
    CSourceFileType type;
    if (FindSourceFileType(path, type)) {
        if (FAILED(CreateFilterByClassId(type.m_sourceFilter.m_classId, &source)))
            return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
        CComPtr<IFileSourceFilter> file;
        if (FAILED(file.QueryFrom(source.Get())))
            return E_NOINTERFACE;
        // Filter names hold 127 characters; a longer path is cut rather than refused.
        if (FAILED(graph->AddFilter(source, FilterName(path))))
            return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
        if (FAILED(file->Load(path, nullptr))) {
            graph->RemoveFilter(source);
            return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
        }
        if (!type.m_useSplitter) {
            *parser = source.Detach();
            return S_OK;
        }
        CComPtr<IBaseFilter> splitter;
        if (FAILED(CreateFilterByClassId(type.m_splitterFilter.m_classId, &splitter)) ||
            FAILED(graph->AddFilter(splitter, FilterName(type.m_splitterFilter.m_name))))
            return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
        if (SUCCEEDED(ConnectFilters(graph, source, splitter))) {
            *parser = splitter.Detach();
            return S_OK;
        }
        graph->RemoveFilter(splitter);
    } else {
        HRESULT hr = graph->AddSourceFilter(path, FilterName(path), &source);
        if (FAILED(hr))
            return hr;
    }
    return SUCCEEDED(ConnectParser(graph, source, parser)) ? S_OK : VFW_E_CANNOT_CONNECT;
}

HRESULT ConnectParser(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter** parser)
{
    if (!graph || !source || !parser)
        return E_FAIL;
    CPinList outputs;
    CollectPins(source, PINDIR_OUTPUT, outputs);
    IPin* pin = nullptr;
    for (ptrdiff_t i = 0; i < outputs.GetSize() && !pin; ++i)
        if (!IsPinConnected(outputs[i]))
            pin = outputs[i];
    if (!pin)
        return E_FAIL;
    CMTList types;
    GetPinMediaTypes(pin, types);
    bool stream = false;
    for (ptrdiff_t t = 0; t < types.GetSize(); ++t)
        stream = stream || types[t].majortype == MEDIATYPE_Stream;
    CComPtr<IAsyncReader> reader;
    if (!stream && FAILED(reader.QueryFrom(pin))) {
        // The source already delivers parsed streams.
        *parser = source;
        source->AddRef();
        return S_OK;
    }
    CMatchList matches;
    BuildMatchList(types, matches);
    return ConnectParserFromMatches(graph, pin, parser, matches);
}

HRESULT ConnectParserFromMatches(IGraphBuilder* graph, IPin* pin, IBaseFilter** parser, const CMatchList& matches)
{
    if (!graph || !pin || !parser || matches.IsEmpty())
        return E_FAIL;
    const bool connected = TryCandidates(graph, matches, false, [&](IBaseFilter* filter) {
        CPinList inputs;
        CollectPins(filter, PINDIR_INPUT, inputs);
        for (ptrdiff_t i = 0; i < inputs.GetSize(); ++i) {
            if (SUCCEEDED(graph->ConnectDirect(pin, inputs[i], nullptr))) {
                *parser = filter;
                filter->AddRef();
                return true;
            }
            pin->Disconnect();
            inputs[i]->Disconnect();
        }
        graph->RemoveFilter(filter);
        return false;
    });
    if (connected)
        return S_OK;
    return E_FAIL;
}

} // namespace playback
