#include "dvb/libDVB/engine/CTSEngine.h"

namespace libDVB {

CTSEngine::CTSEngine(CTSEngineCallback* owner, const std::u16string& deviceKind)
    : m_owner(owner), m_parser(&m_router, this), m_manager(&m_router, this, deviceKind)
{
}

CTSEngine::~CTSEngine() = default;

HRESULT CTSEngine::OnPAT(CSIParser* parser, const uint8_t* s, uint32_t n, CPATTable* t) { return m_manager.OnPAT(parser, s, n, t); }
HRESULT CTSEngine::OnPMT(CSIParser* parser, const uint8_t* s, uint32_t n, CPMTTable* t) { return m_manager.OnPMT(parser, s, n, t); }
HRESULT CTSEngine::OnCAT(CSIParser*, const uint8_t*, uint32_t, CCATTable*) { return S_FALSE; }
HRESULT CTSEngine::OnNIT(CSIParser*, const uint8_t*, uint32_t, CNITTable*) { return S_OK; }
HRESULT CTSEngine::OnBAT(CSIParser*, const uint8_t*, uint32_t, CBATTable*) { return S_FALSE; }
HRESULT CTSEngine::OnTDT(CSIParser*, const uint8_t*, uint32_t, CTDTTable*) { return S_OK; }
HRESULT CTSEngine::OnTOT(CSIParser* parser, const uint8_t* s, uint32_t n, CTOTTable* t) { return m_manager.OnTOT(parser, s, n, t); }

HRESULT CTSEngine::OnSDT(CSIParser* parser, const uint8_t* section, uint32_t length, CSDTTable* table)
{
    if (!table)
        return E_POINTER;
    // Only the SDT of the actual transport stream names services.
    if (table->GetTableId() != 0x42)
        return E_FAIL;
    return m_manager.OnSDT(parser, section, length, table);
}

HRESULT CTSEngine::OnEIT(CSIParser* parser, const uint8_t* section, uint32_t length, CEITTable* table)
{
    if (!table)
        return E_POINTER;
    HRESULT managerResult = S_OK;
    if (table->GetTableId() == 0x4E)
        managerResult = m_manager.OnEITPresentFollowing(parser, section, length, table);
    HRESULT ownerResult = S_OK;
    if (m_owner)
        ownerResult = m_owner->OnEITTable(this, section, length, table);
    return ownerResult != S_OK || managerResult != S_OK ? E_FAIL : S_OK;
}

HRESULT CTSEngine::OnServiceAdded(CServiceManager* manager, uint16_t serviceId, CService** out)
{
    return m_listener ? m_listener->OnServiceAdded(manager, serviceId, out) : S_FALSE;
}

HRESULT CTSEngine::OnServiceRemoved(CServiceManager* manager, uint16_t serviceId, CService* service)
{
    return m_listener ? m_listener->OnServiceRemoved(manager, serviceId, service) : S_FALSE;
}

uint32_t CTSEngine::GetState()
{
    base::CScopedLock lock(m_stateLock);
    return m_state;
}

HRESULT CTSEngine::ChangeState(uint32_t to)
{
    base::CScopedLock lock(m_stateLock);
    static const bool kAllowed[4][4] = {
        // to:  stopped starting running stopping
        {false, true, false, false}, // from stopped
        {true, false, true, false},  // from starting
        {false, false, false, true}, // from running
        {true, false, true, false},  // from stopping
    };
    if (to > kStopping || !kAllowed[m_state][to])
        return E_FAIL;
    m_state = to;
    return S_OK;
}

HRESULT CTSEngine::Start(CServiceManager::CServiceManagerCallback* listener)
{
    if (FAILED(ChangeState(kStarting)))
        return E_FAIL;
    m_listener = listener;
    m_parser.Start();
    const HRESULT hr = OpenDevice();
    if (FAILED(hr)) {
        // Leave nothing registered behind a device that did not open.
        m_parser.Stop();
        ChangeState(kStopped);
        return hr;
    }
    ChangeState(kRunning);
    return S_OK;
}

HRESULT CTSEngine::Stop()
{
    const uint32_t state = GetState();
    if (state == kStopped || state == kStopping)
        return S_FALSE;
    StopStreaming();
    if (FAILED(ChangeState(kStopping)))
        return E_FAIL;
    m_manager.Reset();
    m_parser.Stop();
    return ChangeState(kStopped);
}

HRESULT CTSEngine::Restart()
{
    const HRESULT stopped = StopStreaming();
    m_manager.Reset();
    m_parser.Restart();
    if (stopped == S_OK)
        StartStreaming();
    return S_OK;
}

HRESULT CTSEngine::CycleStreaming()
{
    StartStreaming();
    StopStreaming();
    return S_OK;
}

} // namespace libDVB
