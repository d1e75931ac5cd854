// Receives the complete PSI/SI sections of its section streams, checks them, sorts them by
// table_id into one table object per kind and hands each to its owner, once per section and
// version: a section whose owner declined (1) or failed comes round again with its next copy.
#pragma once

#include <vector>

#include "base/Lock.h"
#include "base/Result.h"
#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSDemultiplexerStream.h"
#include "dvb/libDVB/si/CBATTable.h"
#include "dvb/libDVB/si/CCATTable.h"
#include "dvb/libDVB/si/CEITTable.h"
#include "dvb/libDVB/si/CNITTable.h"
#include "dvb/libDVB/si/CPATTable.h"
#include "dvb/libDVB/si/CPMTTable.h"
#include "dvb/libDVB/si/CSDTTable.h"
#include "dvb/libDVB/si/CTDTTable.h"
#include "dvb/libDVB/si/CTOTTable.h"

namespace libDVB {

class CSIParser : public CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
public:
    // The owner's table operations: 0 handled (not handed over again in this version), 1 not
    // handled now, a failure code: failed; both of the latter are handed over again. The table's
    // header is checked; its body is parsed when the owner calls Parse.
    class CSIParserCallback {
    public:
        virtual HRESULT OnPAT(CSIParser* parser, const uint8_t* section, uint32_t length, CPATTable* table) = 0;
        virtual HRESULT OnPMT(CSIParser* parser, const uint8_t* section, uint32_t length, CPMTTable* table) = 0;
        virtual HRESULT OnCAT(CSIParser* parser, const uint8_t* section, uint32_t length, CCATTable* table) = 0;
        virtual HRESULT OnNIT(CSIParser* parser, const uint8_t* section, uint32_t length, CNITTable* table) = 0;
        virtual HRESULT OnBAT(CSIParser* parser, const uint8_t* section, uint32_t length, CBATTable* table) = 0;
        virtual HRESULT OnEIT(CSIParser* parser, const uint8_t* section, uint32_t length, CEITTable* table) = 0;
        virtual HRESULT OnSDT(CSIParser* parser, const uint8_t* section, uint32_t length, CSDTTable* table) = 0;
        virtual HRESULT OnTDT(CSIParser* parser, const uint8_t* section, uint32_t length, CTDTTable* table) = 0;
        virtual HRESULT OnTOT(CSIParser* parser, const uint8_t* section, uint32_t length, CTOTTable* table) = 0;

    protected:
        ~CSIParserCallback() = default;
    };

    CSIParser(CTSDemultiplexer* router, CSIParserCallback* callback);
    ~CSIParser();
    CSIParser(const CSIParser&) = delete;
    CSIParser& operator=(const CSIParser&) = delete;

    // Section streams for PIDs 0 (PAT) and 1 (CAT).
    HRESULT Start();
    // Unregisters and deletes every section stream of this parser and forgets all versions.
    HRESULT Stop();
    HRESULT Restart();
    // A section stream for one more PID. E_INVALIDARG when the PID has a stream already (the PID
    // stays enabled and served by the stream it had).
    HRESULT AddPid(uint16_t pid);
    // Unregisters and deletes this parser's section stream of `pid`; 1 when it has none. Never
    // call it for the PID whose section is being dispatched.
    HRESULT RemovePid(uint16_t pid);
    // Forgets the PMT versions of a program, so that its next PMT is handed over whatever its
    // version (the program came back, or its PMT moved to another PID).
    void ForgetProgram(uint16_t programNumber);

    // The dispatcher: one complete section from a section stream.
    HRESULT OnStreamPacket(CTSDemultiplexerStream* stream, const uint8_t* section, uint32_t length,
                           uint32_t flag) override;

    std::vector<uint16_t> GetPids() const;

private:
    template <class Table, class Call>
    HRESULT HandleVersioned(Table& table, const uint8_t* section, uint32_t length, uint64_t (*key)(const uint8_t*),
                            Call call);
    template <class Table, class Call>
    HRESULT HandleUnversioned(Table& table, const uint8_t* section, uint32_t length, Call call);
    HRESULT StopLocked();

    CTSDemultiplexer* m_router;
    CSIParserCallback* m_callback;
    mutable base::CCriticalSection m_lock;
    std::vector<uint16_t> m_pids;
    CPATTable m_pat;
    CPMTTable m_pmt;
    CCATTable m_cat;
    CNITTable m_nit;
    CBATTable m_bat;
    CEITTable m_eit;
    CSDTTable m_sdt;
    CTDTTable m_tdt;
    CTOTTable m_tot;
};

} // namespace libDVB
