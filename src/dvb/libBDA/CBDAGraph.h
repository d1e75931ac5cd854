// The DirectShow graph of one BDA tuner: network provider, tuner, the receiver components that
// connect after it, and the BD Dumper sink whose callback receives the transport stream. Built on
// demand, tuned with a locator, and torn down completely again.
#pragma once

#include <cstdint>
#include <string>

#include "dvb/libBDA/BDADeclarations.h"
#include "dvb/libBDA/CBDADumperCallback.h"

namespace libBDA {

class CBDADumperFilter;

class CBDAGraph {
public:
    CBDAGraph() = default;
    virtual ~CBDAGraph();
    CBDAGraph(const CBDAGraph&) = delete;
    CBDAGraph& operator=(const CBDAGraph&) = delete;

    // E_UNEXPECTED when already built, E_INVALIDARG for a type outside 1..4; any failure after
    // that tears everything down again (no graph, no running-object-table entry).
    HRESULT Build(uint32_t type, const std::wstring& deviceName, CBDADumperCallback* callback);
    HRESULT Teardown();
    HRESULT Run();
    HRESULT Stop();
    HRESULT Tune(ILocator* locator);
    // Port 0: nothing sent (S_FALSE). Ports above 6 are refused (E_INVALIDARG).
    HRESULT SendDiSEqC(uint32_t port, bool option);

    bool IsBuilt() const { return m_graph != nullptr; }
    uint32_t NetworkType() const { return m_networkType; }
    IGraphBuilder* Graph() const { return m_graph; }
    IBaseFilter* TunerFilter() const { return m_tunerFilter; }

    // Filter connection: the first free output pin of `upstream` that connects directly to a
    // free input pin of `downstream`, in pin order.
    static HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* upstream, IBaseFilter* downstream);
    // The tuning space of a network type, with its default locator.
    static HRESULT CreateTuningSpace(uint32_t type, ITuningSpace** space);

private:
    HRESULT BuildSteps(const std::wstring& deviceName, CBDADumperCallback* callback);
    HRESULT RegisterInRunningObjectTable();
    HRESULT FindTuner(const std::wstring& deviceName, std::wstring* friendlyName);
    HRESULT ChainReceiverComponents(IBaseFilter** last);

    IGraphBuilder* m_graph = nullptr;
    IMediaControl* m_mediaControl = nullptr;
    ITuner* m_tuner = nullptr;
    IBaseFilter* m_tunerFilter = nullptr;
    uint32_t m_networkType = 0;
    ULONG m_registrationContext = 0;
    DWORD m_rotCookie = 0;
    CBDADumperFilter* m_dumper = nullptr; // one reference
};

} // namespace libBDA
