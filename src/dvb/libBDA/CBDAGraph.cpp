#include "dvb/libBDA/CBDAGraph.h"

#include <cstdio>
#include <new>
#include <vector>

#include "dshow/CComPtr.h"
#include "dvb/libBDA/BDANetworkTypes.h"
#include "dvb/libBDA/CBDADumperFilter.h"
#include "dvb/libBDA/CBDADumperPin.h"
#include "dvb/libBDA/DiSEqCCommand.h"

using dshow::CComPtr;

namespace libBDA {

namespace {

// A BSTR for the duration of one call.
class CBstr {
public:
    explicit CBstr(const wchar_t* text) : m_text(SysAllocString(text)) {}
    ~CBstr() { SysFreeString(m_text); }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    operator BSTR() const { return m_text; }

private:
    BSTR m_text;
};

HRESULT ReadFriendlyName(IMoniker* moniker, std::wstring* name)
{
    CComPtr<IPropertyBag> bag;
    HRESULT hr = moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag));
    if (FAILED(hr))
        return hr;
    VARIANT value;
    VariantInit(&value);
    hr = bag->Read(L"FriendlyName", &value, nullptr);
    if (SUCCEEDED(hr) && value.vt == VT_BSTR && value.bstrVal)
        *name = value.bstrVal;
    else if (SUCCEEDED(hr))
        hr = E_FAIL;
    VariantClear(&value);
    return hr;
}

// Pins of one direction that are not connected, in pin order; each with one reference.
void ListFreePins(IBaseFilter* filter, PIN_DIRECTION direction, std::vector<CComPtr<IPin>>* pins)
{
    CComPtr<IEnumPins> e;
    if (FAILED(filter->EnumPins(&e)) || !e)
        return;
    for (;;) {
        CComPtr<IPin> pin;
        ULONG fetched = 0;
        if (e->Next(1, &pin, &fetched) != S_OK || fetched != 1)
            break;
        PIN_DIRECTION d;
        if (FAILED(pin->QueryDirection(&d)) || d != direction)
            continue;
        CComPtr<IPin> peer;
        if (SUCCEEDED(pin->ConnectedTo(&peer)) && peer)
            continue;
        pins->push_back(pin);
    }
}

} // namespace

CBDAGraph::~CBDAGraph() { Teardown(); }

HRESULT CBDAGraph::Build(uint32_t type, const std::wstring& deviceName, CBDADumperCallback* callback)
{
    if (m_graph)
        return E_UNEXPECTED;
    if (!FindBDANetworkType(type))
        return E_INVALIDARG;
    m_networkType = type;
    HRESULT hr = BuildSteps(deviceName, callback);
    if (FAILED(hr)) {
        Teardown();
        return hr;
    }
    return S_OK;
}

HRESULT CBDAGraph::BuildSteps(const std::wstring& deviceName, CBDADumperCallback* callback)
{
    const BDANetworkType* net = FindBDANetworkType(m_networkType);
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(&m_graph));
    if (FAILED(hr))
        return hr;
    // Without a media control the graph still builds; Run and Stop then have nothing to do.
    if (FAILED(m_graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_mediaControl))))
        m_mediaControl = nullptr;
    hr = RegisterInRunningObjectTable();
    if (FAILED(hr))
        return hr;

    // The provider is held by the graph; we keep only its ITuner.
    CComPtr<IBaseFilter> provider;
    hr = CoCreateInstance(*net->networkProvider, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                          reinterpret_cast<void**>(&provider));
    if (FAILED(hr))
        return hr;
    hr = m_graph->AddFilter(provider, L"Network Provider");
    if (FAILED(hr))
        return hr;
    hr = provider->QueryInterface(__uuidof(ITuner), reinterpret_cast<void**>(&m_tuner));
    if (FAILED(hr))
        return hr;

    CComPtr<ITuningSpace> space;
    hr = CreateTuningSpace(m_networkType, &space);
    if (FAILED(hr))
        return hr;
    if (SUCCEEDED(m_tuner->put_TuningSpace(space))) {
        // A first tune request with the space's default locator; the provider wants one before
        // it connects, whether or not it can tune it.
        CComPtr<ILocator> locator;
        CComPtr<ITuneRequest> request;
        space->get_DefaultLocator(&locator);
        space->CreateTuneRequest(&request);
        if (request) {
            request->put_Locator(locator);
            m_tuner->put_TuneRequest(request);
        }
    }

    std::wstring tunerName;
    hr = FindTuner(deviceName, &tunerName);
    if (FAILED(hr))
        return hr;
    hr = m_graph->AddFilter(m_tunerFilter, tunerName.c_str());
    if (FAILED(hr))
        return hr;
    hr = ConnectFilters(m_graph, provider, m_tunerFilter);
    if (FAILED(hr))
        return hr;

    CComPtr<IBaseFilter> last;
    hr = ChainReceiverComponents(&last);
    if (FAILED(hr))
        return hr;

    HRESULT created = S_OK;
    m_dumper = new (std::nothrow) CBDADumperFilter(&created);
    if (!m_dumper)
        return E_OUTOFMEMORY;
    static_cast<IBaseFilter*>(m_dumper)->AddRef();
    if (FAILED(created))
        return created;
    m_dumper->SetCallback(callback);
    hr = m_graph->AddFilter(static_cast<IBaseFilter*>(m_dumper), L"BDA Dumper");
    if (FAILED(hr))
        return hr;
    hr = ConnectFilters(m_graph, last, static_cast<IBaseFilter*>(m_dumper));
    if (FAILED(hr))
        return hr;

    CComPtr<IBDA_TIF_REGISTRATION> registration;
    if (SUCCEEDED(provider->QueryInterface(__uuidof(IBDA_TIF_REGISTRATION),
                                                    reinterpret_cast<void**>(&registration))) &&
        registration) {
        CComPtr<IPin> pin;
        hr = static_cast<IPin*>(m_dumper->InputPin())->QueryInterface(IID_IPin, reinterpret_cast<void**>(&pin));
        if (FAILED(hr))
            return hr;
        CComPtr<IUnknown> dataControl;
        hr = registration->RegisterTIFEx(pin, &m_registrationContext, &dataControl);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT CBDAGraph::RegisterInRunningObjectTable()
{
    CComPtr<IRunningObjectTable> table;
    HRESULT hr = GetRunningObjectTable(0, &table);
    if (FAILED(hr))
        return hr;
    wchar_t name[64];
    swprintf(name, 64, L"FilterGraph %08x pid %08x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(m_graph)),
             static_cast<unsigned>(GetCurrentProcessId()));
    CComPtr<IMoniker> moniker;
    hr = CreateItemMoniker(L"!", name, &moniker);
    if (FAILED(hr))
        return hr;
    return table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, m_graph, moniker, &m_rotCookie);
}

HRESULT CBDAGraph::FindTuner(const std::wstring& deviceName, std::wstring* friendlyName)
{
    // A device name no tuner has must fail the build, not leave a graph without a tuner.
    if (deviceName.empty())
        return E_FAIL;
    CComPtr<ICreateDevEnum> devices;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  reinterpret_cast<void**>(&devices));
    if (FAILED(hr))
        return hr;
    CComPtr<IEnumMoniker> monikers;
    if (devices->CreateClassEnumerator(KSCATEGORY_BDA_NETWORK_TUNER, &monikers, 0) != S_OK || !monikers)
        return E_FAIL;
    for (;;) {
        CComPtr<IMoniker> moniker;
        if (monikers->Next(1, &moniker, nullptr) != S_OK || !moniker)
            break;
        LPOLESTR display = nullptr;
        if (FAILED(moniker->GetDisplayName(nullptr, nullptr, &display)) || !display)
            continue;
        bool match = deviceName == display;
        CoTaskMemFree(display);
        if (!match)
            continue;
        hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&m_tunerFilter));
        if (FAILED(hr))
            return hr;
        if (FAILED(ReadFriendlyName(moniker, friendlyName)))
            friendlyName->clear();
        return S_OK;
    }
    return E_FAIL;
}

HRESULT CBDAGraph::ChainReceiverComponents(IBaseFilter** last)
{
    *last = m_tunerFilter;
    m_tunerFilter->AddRef();
    CComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devices))))
        return S_OK;
    for (;;) {
        bool found = false;
        CComPtr<IEnumMoniker> monikers;
        if (devices->CreateClassEnumerator(KSCATEGORY_BDA_RECEIVER_COMPONENT, &monikers, 0) != S_OK || !monikers)
            return S_OK;
        for (;;) {
            CComPtr<IMoniker> moniker;
            if (monikers->Next(1, &moniker, nullptr) != S_OK || !moniker)
                break;
            std::wstring name;
            if (FAILED(ReadFriendlyName(moniker, &name)))
                continue;
            CComPtr<IBaseFilter> component;
            if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&component))))
                continue;
            if (FAILED(m_graph->AddFilter(component, name.c_str())))
                continue;
            if (SUCCEEDED(ConnectFilters(m_graph, *last, component))) {
                (*last)->Release();
                *last = component.Detach();
                found = true;
                break;
            }
            m_graph->RemoveFilter(component);
        }
        if (!found)
            return S_OK;
    }
}

HRESULT CBDAGraph::ConnectFilters(IGraphBuilder* graph, IBaseFilter* upstream, IBaseFilter* downstream)
{
    if (!graph || !upstream || !downstream)
        return E_POINTER;
    std::vector<CComPtr<IPin>> outputs, inputs;
    ListFreePins(upstream, PINDIR_OUTPUT, &outputs);
    ListFreePins(downstream, PINDIR_INPUT, &inputs);
    for (auto& out : outputs) {
        for (auto& in : inputs) {
            if (SUCCEEDED(graph->ConnectDirect(out, in, nullptr)))
                return S_OK;
            // A half-made connection must not block the next pair.
            graph->Disconnect(out);
            graph->Disconnect(in);
        }
    }
    return VFW_E_CANNOT_CONNECT;
}

HRESULT CBDAGraph::CreateTuningSpace(uint32_t type, ITuningSpace** space)
{
    if (!space)
        return E_POINTER;
    *space = nullptr;
    const BDANetworkType* net = FindBDANetworkType(type);
    if (!net)
        return E_INVALIDARG;
    CComPtr<ITuningSpace> created;
    HRESULT hr = CoCreateInstance(*net->tuningSpace, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITuningSpace),
                                  reinterpret_cast<void**>(&created));
    if (FAILED(hr))
        return hr;
    created->put_FriendlyName(CBstr(net->name));
    created->put_UniqueName(CBstr(net->name));
    created->put_FrequencyMapping(CBstr(L"-1"));
    if (net->systemType >= 0) {
        CComPtr<IDVBTuningSpace> dvb;
        if (SUCCEEDED(dvb.QueryFrom(created.Get())))
            dvb->put_SystemType(static_cast<DVBSystemType>(net->systemType));
    }
    created->put__NetworkType(*net->networkType);

    CComPtr<ILocator> locator;
    hr = CoCreateInstance(*net->locator, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ILocator),
                          reinterpret_cast<void**>(&locator));
    if (FAILED(hr))
        return hr;
    created->put_DefaultLocator(locator);

    if (type == kNetworkDVBS) {
        CComPtr<IDVBSTuningSpace> satellite;
        if (SUCCEEDED(satellite.QueryFrom(created.Get()))) {
            satellite->put_InputRange(CBstr(L"-1"));
            satellite->put_LowOscillator(9750000);
            satellite->put_HighOscillator(10600000);
            satellite->put_LNBSwitch(11700000);
            satellite->put_SpectralInversion(BDA_SPECTRAL_INVERSION_AUTOMATIC);
        }
    }
    *space = created.Detach();
    return S_OK;
}

HRESULT CBDAGraph::Run()
{
    if (!m_mediaControl)
        return S_OK;
    return m_mediaControl->Run();
}

HRESULT CBDAGraph::Stop()
{
    if (!m_mediaControl)
        return S_OK;
    HRESULT hr = m_mediaControl->Stop();
    for (int i = 0; i < 200; ++i) {
        OAFilterState state = State_Running;
        hr = m_mediaControl->GetState(10, &state);
        if (hr == S_OK && state == State_Stopped)
            break;
    }
    return hr;
}

HRESULT CBDAGraph::Tune(ILocator* locator)
{
    if (!m_tuner)
        return E_FAIL;
    CComPtr<ITuningSpace> space;
    HRESULT hr = m_tuner->get_TuningSpace(&space);
    if (FAILED(hr) || !space)
        return FAILED(hr) ? hr : E_FAIL;
    CComPtr<ITuneRequest> request;
    hr = space->CreateTuneRequest(&request);
    if (FAILED(hr) || !request)
        return FAILED(hr) ? hr : E_FAIL;
    CComPtr<IDVBTuneRequest> dvb;
    if (SUCCEEDED(dvb.QueryFrom(request.Get()))) {
        dvb->put_ONID(-1);
        dvb->put_SID(-1);
        dvb->put_TSID(-1);
    }
    request->put_Locator(locator);
    hr = m_tuner->Validate(request);
    if (SUCCEEDED(hr))
        hr = m_tuner->put_TuneRequest(request);
    return hr;
}

HRESULT CBDAGraph::SendDiSEqC(uint32_t port, bool option)
{
    uint8_t command[kDiSEqCBufferSize];
    HRESULT hr = BuildDiSEqCCommand(port, option, command);
    if (hr != S_OK)
        return hr;
    if (!m_tunerFilter)
        return E_FAIL;
    CComPtr<IEnumPins> e;
    if (FAILED(m_tunerFilter->EnumPins(&e)) || !e)
        return E_FAIL;
    CComPtr<IPin> first;
    for (;;) {
        CComPtr<IPin> pin;
        if (e->Next(1, &pin, nullptr) != S_OK || !pin)
            break;
        PIN_DIRECTION d;
        if (SUCCEEDED(pin->QueryDirection(&d)) && d == PINDIR_INPUT) {
            first = pin;
            break;
        }
    }
    if (!first)
        return E_FAIL;
    CComPtr<IKsPropertySet> properties;
    hr = properties.QueryFrom(first.Get());
    if (FAILED(hr))
        return hr;
    uint8_t instance[32] = {};
    return properties->Set(kDiSEqCPropertySet, 0, instance, sizeof(instance), command, sizeof(command));
}

HRESULT CBDAGraph::Teardown()
{
    Stop();
    if (m_tuner) {
        CComPtr<IBDA_TIF_REGISTRATION> registration;
        if (SUCCEEDED(m_tuner->QueryInterface(__uuidof(IBDA_TIF_REGISTRATION),
                                              reinterpret_cast<void**>(&registration))) &&
            registration)
            registration->UnregisterTIF(m_registrationContext);
    }
    m_registrationContext = 0;
    if (m_rotCookie) {
        CComPtr<IRunningObjectTable> table;
        if (SUCCEEDED(GetRunningObjectTable(0, &table)))
            table->Revoke(m_rotCookie);
        m_rotCookie = 0;
    }
    if (m_tuner) {
        m_tuner->Release();
        m_tuner = nullptr;
    }
    if (m_mediaControl) {
        m_mediaControl->Release();
        m_mediaControl = nullptr;
    }
    if (m_graph) {
        m_graph->Release();
        m_graph = nullptr;
    }
    if (m_tunerFilter) {
        m_tunerFilter->Release();
        m_tunerFilter = nullptr;
    }
    // The graph has released its filters; ours is the last reference to the dumper.
    if (m_dumper) {
        static_cast<IBaseFilter*>(m_dumper)->Release();
        m_dumper = nullptr;
    }
    m_networkType = 0;
    return S_OK;
}

} // namespace libBDA
