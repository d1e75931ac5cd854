#include "dvb/libDVB/si/CSIParser.h"

#include <algorithm>
#include <memory>

#include "dvb/libDVB/demux/CTSSectionStream.h"

namespace libDVB {

namespace {

// Version keys, read from a section that passed the long header check (at least 12 bytes).
struct CKeyFields {
    uint64_t tableId, extension, bytes8And9, bytes10And11;
};

CKeyFields ReadKeyFields(const uint8_t* s)
{
    base::CByteReader r(s, 12);
    CKeyFields k;
    k.tableId = r.U8();
    r.Skip(2);
    k.extension = r.U16();
    r.Skip(3);
    k.bytes8And9 = r.U16();
    k.bytes10And11 = r.U16();
    return k;
}

uint64_t ExtensionKey(const uint8_t* s) { return ReadKeyFields(s).extension; }

uint64_t NetworkKey(const uint8_t* s)
{
    const CKeyFields k = ReadKeyFields(s);
    return (k.tableId << 56) | k.extension;
}

// SDT: original_network_id in bytes 8-9, transport_stream_id as the extension.
uint64_t ServiceDescriptionKey(const uint8_t* s)
{
    const CKeyFields k = ReadKeyFields(s);
    return (k.tableId << 56) | (k.bytes8And9 << 16) | k.extension;
}

// EIT: transport_stream_id in bytes 8-9, original_network_id in 10-11, service_id as the extension.
uint64_t EventKey(const uint8_t* s)
{
    const CKeyFields k = ReadKeyFields(s);
    return (k.tableId << 56) | (k.bytes10And11 << 32) | (k.bytes8And9 << 16) | k.extension;
}

} // namespace

CSIParser::CSIParser(CTSDemultiplexer* router, CSIParserCallback* callback) : m_router(router), m_callback(callback)
{
}

CSIParser::~CSIParser() { Stop(); }

// Lock order, the same on every path: the router's stream lock, then this parser's lock (then the
// router's enable lock inside its calls). Table callbacks run under the stream lock and call
// AddPid; a Stop on another thread must not hold our lock while it waits for the stream lock.
HRESULT CSIParser::Start()
{
    if (!m_router)
        return E_POINTER;
    base::CScopedLock streamLock(m_router->StreamLock());
    base::CScopedLock lock(m_lock);
    const HRESULT pat = AddPid(0x0000);
    const HRESULT cat = AddPid(0x0001);
    return FAILED(pat) ? pat : cat;
}

HRESULT CSIParser::Stop()
{
    if (!m_router)
        return E_POINTER;
    base::CScopedLock streamLock(m_router->StreamLock());
    base::CScopedLock lock(m_lock);
    return StopLocked();
}

HRESULT CSIParser::StopLocked()
{
    for (const uint16_t pid : m_pids) {
        m_router->DisablePid(pid);
        CTSDemultiplexerStream* stream = nullptr;
        m_router->UnregisterStream(pid, &stream);
        if (stream && stream->GetOwner() == this)
            delete stream;
        else if (stream)
            m_router->RegisterStream(stream); // not ours: leave it where it was
    }
    m_pids.clear();
    m_pat.ForgetVersions();
    m_pmt.ForgetVersions();
    m_cat.ForgetVersions();
    m_nit.ForgetVersions();
    m_bat.ForgetVersions();
    m_eit.ForgetVersions();
    m_sdt.ForgetVersions();
    m_tdt.ForgetVersions();
    m_tot.ForgetVersions();
    return S_OK;
}

HRESULT CSIParser::Restart()
{
    if (!m_router)
        return E_POINTER;
    base::CScopedLock streamLock(m_router->StreamLock());
    base::CScopedLock lock(m_lock);
    StopLocked();
    return Start();
}

HRESULT CSIParser::AddPid(uint16_t pid)
{
    if (!m_router)
        return E_POINTER;
    base::CScopedLock streamLock(m_router->StreamLock());
    base::CScopedLock lock(m_lock);
    auto stream = std::make_unique<CTSSectionStream>(this, pid);
    const HRESULT hr = m_router->RegisterStream(stream.get());
    m_router->EnablePid(pid);
    if (FAILED(hr))
        return hr;
    stream.release(); // the router serves it; Stop unregisters and deletes it
    m_pids.push_back(pid);
    return S_OK;
}

HRESULT CSIParser::RemovePid(uint16_t pid)
{
    if (!m_router)
        return E_POINTER;
    base::CScopedLock streamLock(m_router->StreamLock());
    base::CScopedLock lock(m_lock);
    auto found = std::find(m_pids.begin(), m_pids.end(), pid);
    if (found == m_pids.end())
        return S_FALSE;
    m_pids.erase(found);
    CTSDemultiplexerStream* stream = m_router->FindStream(pid);
    if (!stream || stream->GetOwner() != this)
        return S_FALSE;
    m_router->UnregisterStream(pid);
    delete stream;
    return S_OK;
}

void CSIParser::ForgetProgram(uint16_t programNumber)
{
    if (!m_router)
        return;
    base::CScopedLock streamLock(m_router->StreamLock());
    base::CScopedLock lock(m_lock);
    m_pmt.ForgetVersion(programNumber);
}

std::vector<uint16_t> CSIParser::GetPids() const
{
    base::CScopedLock lock(m_lock);
    return m_pids;
}

template <class Table, class Call>
HRESULT CSIParser::HandleVersioned(Table& table, const uint8_t* section, uint32_t length,
                                   uint64_t (*key)(const uint8_t*), Call call)
{
    if (FAILED(table.CheckHeader(section, length)))
        return E_FAIL;
    table.CheckVersion(key(section));
    const HRESULT hr = m_callback ? call() : S_FALSE;
    table.NoteResult(hr);
    return hr;
}

template <class Table, class Call>
HRESULT CSIParser::HandleUnversioned(Table& table, const uint8_t* section, uint32_t length, Call call)
{
    if (FAILED(table.CheckHeader(section, length)))
        return E_FAIL;
    table.MarkUnversioned();
    return m_callback ? call() : S_FALSE;
}

HRESULT CSIParser::OnStreamPacket(CTSDemultiplexerStream* stream, const uint8_t* section, uint32_t length,
                                  uint32_t flag)
{
    if (!section || length == 0)
        return E_FAIL;
    const uint8_t tableId = section[0];
    const auto s = section;
    const auto n = length;
    if (tableId == 0x00)
        return HandleVersioned(m_pat, s, n, ExtensionKey, [&] { return m_callback->OnPAT(this, s, n, &m_pat); });
    if (tableId == 0x02)
        return HandleVersioned(m_pmt, s, n, ExtensionKey, [&] { return m_callback->OnPMT(this, s, n, &m_pmt); });
    if (tableId == 0x01)
        return HandleVersioned(m_cat, s, n, ExtensionKey, [&] { return m_callback->OnCAT(this, s, n, &m_cat); });
    if (tableId == 0x42 || tableId == 0x46)
        return HandleVersioned(m_sdt, s, n, ServiceDescriptionKey,
                               [&] { return m_callback->OnSDT(this, s, n, &m_sdt); });
    if (tableId == 0x70)
        return HandleUnversioned(m_tdt, s, n, [&] { return m_callback->OnTDT(this, s, n, &m_tdt); });
    if (tableId == 0x73)
        return HandleUnversioned(m_tot, s, n, [&] { return m_callback->OnTOT(this, s, n, &m_tot); });
    if (tableId == 0x4A)
        return HandleVersioned(m_bat, s, n, ExtensionKey, [&] { return m_callback->OnBAT(this, s, n, &m_bat); });
    if (tableId == 0x40 || tableId == 0x41)
        return HandleVersioned(m_nit, s, n, NetworkKey, [&] { return m_callback->OnNIT(this, s, n, &m_nit); });
    if (tableId >= 0x4E && tableId <= 0x6F)
        return HandleVersioned(m_eit, s, n, EventKey, [&] { return m_callback->OnEIT(this, s, n, &m_eit); });
    return S_FALSE;
}

} // namespace libDVB
