// The common base of every source of an MPEG transport stream (BDA tuner, multicast group, file):
// routes its packets by PID and owns the SI parser and the service manager that turn its PSI/SI
// into services, reported to a listener.
#pragma once

#include <string>

#include "base/Lock.h"
#include "base/Result.h"
#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/service/CServiceManager.h"
#include "dvb/libDVB/si/CSIParser.h"

namespace libDVB {

class CTSEngine : public CSIParser::CSIParserCallback, public CServiceManager::CServiceManagerCallback {
public:
    // Receives every EIT table (the channel engine merges them into its EPG store).
    class CTSEngineCallback {
    public:
        virtual HRESULT OnEITTable(CTSEngine* engine, const uint8_t* section, uint32_t length, CEITTable* table) = 0;

    protected:
        ~CTSEngineCallback() = default;
    };

    enum State : uint32_t { kStopped = 0, kStarting = 1, kRunning = 2, kStopping = 3 };

    CTSEngine(CTSEngineCallback* owner, const std::u16string& deviceKind);
    virtual ~CTSEngine();
    CTSEngine(const CTSEngine&) = delete;
    CTSEngine& operator=(const CTSEngine&) = delete;

    HRESULT OnPAT(CSIParser* parser, const uint8_t* section, uint32_t length, CPATTable* table) override;
    HRESULT OnPMT(CSIParser* parser, const uint8_t* section, uint32_t length, CPMTTable* table) override;
    HRESULT OnCAT(CSIParser* parser, const uint8_t* section, uint32_t length, CCATTable* table) override;
    HRESULT OnNIT(CSIParser* parser, const uint8_t* section, uint32_t length, CNITTable* table) override;
    HRESULT OnBAT(CSIParser* parser, const uint8_t* section, uint32_t length, CBATTable* table) override;
    HRESULT OnEIT(CSIParser* parser, const uint8_t* section, uint32_t length, CEITTable* table) override;
    HRESULT OnSDT(CSIParser* parser, const uint8_t* section, uint32_t length, CSDTTable* table) override;
    HRESULT OnTDT(CSIParser* parser, const uint8_t* section, uint32_t length, CTDTTable* table) override;
    HRESULT OnTOT(CSIParser* parser, const uint8_t* section, uint32_t length, CTOTTable* table) override;

    // The device: opened by Start, streamed by StartStreaming.
    virtual HRESULT OpenDevice() = 0;
    virtual HRESULT Start(CServiceManager::CServiceManagerCallback* listener);
    virtual HRESULT Stop();
    virtual HRESULT Restart();
    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }
    // 1 when the source can itself pause (a file), so timeshift stops and restarts it instead.
    virtual HRESULT CanPause() { return S_OK; }
    virtual HRESULT Query() { return S_OK; }
    virtual HRESULT CycleStreaming();

    // Relayed to the listener.
    HRESULT OnServiceAdded(CServiceManager* manager, uint16_t serviceId, CService** out) override;
    HRESULT OnServiceRemoved(CServiceManager* manager, uint16_t serviceId, CService* service) override;

    uint32_t GetState();
    CTSDemultiplexer& GetRouter() { return m_router; }
    CServiceManager& GetServiceManager() { return m_manager; }
    CSIParser& GetParser() { return m_parser; }

protected:
    // Moves the state along an allowed edge; E_FAIL (state unchanged) for any other request.
    HRESULT ChangeState(uint32_t to);

    CTSEngineCallback* m_owner;
    CTSDemultiplexer m_router;
    CSIParser m_parser;
    CServiceManager m_manager;
    CServiceManager::CServiceManagerCallback* m_listener = nullptr;
    base::CCriticalSection m_stateLock;
    uint32_t m_state = kStopped;
};

} // namespace libDVB
