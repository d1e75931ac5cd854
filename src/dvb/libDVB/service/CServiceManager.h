// Turns the PSI/SI of one transport stream into live services: asks its callback for a service per
// PAT program, fills its stream table from the PMT, its names and flags from the SDT and its
// now/next events from EIT present/following, and registers a relay stream per elementary PID so
// that the packets of a service reach it. Runs on the device thread under the router's stream lock.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/ManualResetEvent.h"
#include "base/Result.h"
#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB/service/CServiceRecord.h"
#include "dvb/libDVB/si/CSIParser.h"

namespace libDVB {

class CService;

class CServiceManager : public CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
public:
    class CServiceManagerCallback {
    public:
        // The listener puts a service into `out` (or leaves it null) and returns 0 to have it attached.
        // The listener owns its services; the manager never deletes one.
        virtual HRESULT OnServiceAdded(CServiceManager* manager, uint16_t serviceId, CService** out) = 0;
        // The service is no longer fed by this manager.
        virtual HRESULT OnServiceRemoved(CServiceManager* manager, uint16_t serviceId, CService* service) = 0;

    protected:
        ~CServiceManagerCallback() = default;
    };

    CServiceManager(CTSDemultiplexer* router, CServiceManagerCallback* callback, const std::u16string& deviceKind);
    ~CServiceManager();
    CServiceManager(const CServiceManager&) = delete;
    CServiceManager& operator=(const CServiceManager&) = delete;

    HRESULT OnPAT(CSIParser* parser, const uint8_t* section, uint32_t length, CPATTable* table);
    HRESULT OnPMT(CSIParser* parser, const uint8_t* section, uint32_t length, CPMTTable* table);
    HRESULT OnSDT(CSIParser* parser, const uint8_t* section, uint32_t length, CSDTTable* table);
    HRESULT OnEITPresentFollowing(CSIParser* parser, const uint8_t* section, uint32_t length, CEITTable* table);
    HRESULT OnTOT(CSIParser* parser, const uint8_t* section, uint32_t length, CTOTTable* table);

    // The relays' owner: fans a packet out to every service that uses its PID.
    HRESULT OnStreamPacket(CTSDemultiplexerStream* stream, const uint8_t* packet, uint32_t length,
                           uint32_t flag) override;

    // Forgets the transport stream: every service is reported removed, every relay unregistered.
    HRESULT Reset();

    uint16_t GetTransportStreamId() const { return static_cast<uint16_t>(m_transportStreamId); }
    int64_t GetTOTTime() const { return m_totTime; }
    const std::u16string& GetDeviceKind() const { return m_deviceKind; }
    size_t GetRecordCount() const { return m_records.size(); }
    std::vector<uint16_t> GetRelayPids() const;

    base::CManualResetEvent& PATEvent() { return m_patEvent; }
    base::CManualResetEvent& AllPMTEvent() { return m_allPmtEvent; }
    base::CManualResetEvent& SDTEvent() { return m_sdtEvent; }
    base::CManualResetEvent& AllSDTEvent() { return m_allSdtEvent; }

private:
    struct CPidList {
        std::vector<CServiceRecord*> records;
        std::unique_ptr<CTSRelayStream> relay;
    };

    HRESULT AddPid(uint16_t pid);
    void Link(CServiceRecord* record, uint16_t pid);
    void Unlink(CServiceRecord* record);
    void DropUnusedRelays();
    void Detach(CServiceRecord* record);
    void DropLeavingPrograms(CSIParser* parser, const CPATTable& table);
    void MovePMT(CSIParser* parser, CServiceRecord* record, uint16_t pid);
    void ReleasePMT(CSIParser* parser, uint16_t serviceId, uint16_t pid);
    CServiceRecord* FindRecord(uint16_t serviceId);
    // Whether every program of the PAT has had its PMT (or its SDT entry).
    bool EveryRecord(uint8_t CServiceRecord::*seen) const;

    CTSDemultiplexer* m_router;
    CServiceManagerCallback* m_callback;
    uint32_t m_transportStreamId = 0;
    std::map<uint16_t, std::unique_ptr<CServiceRecord>> m_records;
    // The programs named by each section of the current PAT version.
    int m_patVersion = -1;
    std::map<uint8_t, std::vector<uint16_t>> m_patSections;
    std::map<uint16_t, CPidList> m_pidLists;
    int64_t m_totTime = 0;
    base::CManualResetEvent m_patEvent;
    base::CManualResetEvent m_allPmtEvent;
    base::CManualResetEvent m_sdtEvent;
    base::CManualResetEvent m_allSdtEvent;
    std::u16string m_deviceKind;
};

} // namespace libDVB
