#include "dvb/libDVB/service/CServiceManager.h"

#include <algorithm>

#include "dvb/libDVB/service/CService.h"
#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"
#include "dvb/libDVB/si/descriptors/CISO639LanguageDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceDescriptor.h"
#include "dvb/libDVB/si/descriptors/CShortEventDescriptor.h"
#include "dvb/libDVB/si/descriptors/CSubtitlingDescriptor.h"
#include "dvb/libDVB/si/descriptors/CTeletextDescriptor.h"

namespace libDVB {

namespace {

constexpr uint8_t kAC3DescriptorTag = 0x6A;
constexpr uint16_t kSdtPid = 0x11, kEitPid = 0x12, kTotPid = 0x14;

void CopyLanguage(uint8_t out[3], const CLanguageCode& code)
{
    for (int i = 0; i < 3; ++i)
        out[i] = static_cast<uint8_t>(code[i]);
}

// The language of an audio or subtitle stream: its ISO 639 language descriptor; for DVB subtitles
// without one, the language the subtitling descriptor itself names.
void StreamLanguage(const CDescriptorList& descriptors, uint8_t out[3])
{
    if (const auto* iso = FindDescriptor<CISO639LanguageDescriptor>(descriptors)) {
        CopyLanguage(out, iso->GetLanguageCode());
        return;
    }
    if (const auto* subtitling = FindDescriptor<CSubtitlingDescriptor>(descriptors))
        if (!subtitling->GetEntries().empty())
            CopyLanguage(out, subtitling->GetEntries().front().ISO_639_language_code);
}

} // namespace

CServiceManager::CServiceManager(CTSDemultiplexer* router, CServiceManagerCallback* callback,
                                 const std::u16string& deviceKind)
    : m_router(router), m_callback(callback), m_deviceKind(deviceKind)
{
}

CServiceManager::~CServiceManager() { Reset(); }

CServiceRecord* CServiceManager::FindRecord(uint16_t serviceId)
{
    auto found = m_records.find(serviceId);
    return found == m_records.end() ? nullptr : found->second.get();
}

bool CServiceManager::EveryRecord(uint8_t CServiceRecord::*seen) const
{
    return std::all_of(m_records.begin(), m_records.end(), [seen](const auto& r) { return (*r.second).*seen != 0; });
}

std::vector<uint16_t> CServiceManager::GetRelayPids() const
{
    std::vector<uint16_t> pids;
    for (const auto& list : m_pidLists)
        pids.push_back(list.first);
    return pids;
}

// ISO/IEC 13818-1, 2.4.4.3
HRESULT CServiceManager::OnPAT(CSIParser* parser, const uint8_t* section, uint32_t length, CPATTable* table)
{
    HRESULT opened;
    if (!CSITable::OpenSection(table, section, length, opened))
        return opened;
    m_transportStreamId = table->GetTransportStreamId();
    DropLeavingPrograms(parser, *table);
    for (const auto& program : table->GetPrograms()) {
        if (CServiceRecord* known = FindRecord(program.first)) {
            if (known->program_map_PID != program.second)
                MovePMT(parser, known, program.second);
            continue;
        }
        auto record = std::make_unique<CServiceRecord>();
        record->service_id = program.first;
        record->program_map_PID = program.second;
        record->manager = this;
        CServiceRecord* r = record.get();
        m_records[program.first] = std::move(record);

        CService* service = nullptr;
        const HRESULT added = m_callback ? m_callback->OnServiceAdded(this, program.first, &service) : S_FALSE;
        // A service already fed by this manager (the listener knew it) is not attached twice, so
        // it is reported removed once and never handed back twice.
        const bool known = std::any_of(m_records.begin(), m_records.end(),
                                       [service](const auto& other) { return other.second->service == service; });
        if (added == S_OK && service && !known) {
            CService::CUpdateScope scope(*service);
            service->m_manager = this;
            service->m_receptionState = CService::kListed;
            r->service = service;
            scope.mask |= CService::kReceptionChanged;
        }
        if (parser)
            parser->AddPid(program.second); // a PMT PID shared by two programs is refused there
    }
    // The SDT, EIT and TOT are wanted as soon as the programs are known: waiting for every PMT
    // would leave a whole multiplex unnamed because of one program without a PMT.
    if (parser) {
        parser->AddPid(kSdtPid);
        parser->AddPid(kEitPid);
        parser->AddPid(kTotPid);
    }
    m_patEvent.Set();
    return S_OK;
}

// The programs of a new PAT version leave the multiplex when no section of that version names
// them; a PAT of several sections is judged once all of them are in.
void CServiceManager::DropLeavingPrograms(CSIParser* parser, const CPATTable& table)
{
    const int version = (table.GetTransportStreamId() << 5) | table.GetVersionNumber();
    if (version != m_patVersion) {
        m_patVersion = version;
        m_patSections.clear();
    }
    std::vector<uint16_t>& programs = m_patSections[table.GetSectionNumber()];
    programs.clear();
    for (const auto& program : table.GetPrograms())
        programs.push_back(program.first);
    for (unsigned n = 0; n <= table.GetLastSectionNumber(); ++n)
        if (!m_patSections.count(static_cast<uint8_t>(n)))
            return;

    std::vector<uint16_t> leaving;
    for (const auto& record : m_records) {
        bool listed = false;
        for (const auto& section : m_patSections)
            listed = listed || std::count(section.second.begin(), section.second.end(), record.first) > 0;
        if (!listed)
            leaving.push_back(record.first);
    }
    for (const uint16_t serviceId : leaving) {
        CServiceRecord* record = FindRecord(serviceId);
        if (record->service)
            Detach(record);
        Unlink(record);
        const uint16_t pmtPid = record->program_map_PID;
        m_records.erase(serviceId);
        ReleasePMT(parser, serviceId, pmtPid);
    }
    if (!leaving.empty())
        DropUnusedRelays();
}

// A program whose PMT now comes on another PID: its streams stay until that PMT arrives.
void CServiceManager::MovePMT(CSIParser* parser, CServiceRecord* record, uint16_t pid)
{
    const uint16_t old = record->program_map_PID;
    record->program_map_PID = pid;
    record->pmtSeen = 0;
    ReleasePMT(parser, record->service_id, old);
    if (parser)
        parser->AddPid(pid);
}

// Forgets a program's PMT versions and stops the section stream of its old PMT PID once no
// program uses that PID (the SI PIDs below 0x20 stay).
void CServiceManager::ReleasePMT(CSIParser* parser, uint16_t serviceId, uint16_t pid)
{
    if (!parser)
        return;
    parser->ForgetProgram(serviceId);
    const bool used = std::any_of(m_records.begin(), m_records.end(),
                                  [pid](const auto& r) { return r.second->program_map_PID == pid; });
    if (!used && pid >= 0x20)
        parser->RemovePid(pid);
}

HRESULT CServiceManager::AddPid(uint16_t pid)
{
    auto found = m_pidLists.find(pid);
    if (found != m_pidLists.end() && found->second.relay)
        return S_FALSE;
    CPidList& list = m_pidLists[pid];
    auto relay = std::make_unique<CTSRelayStream>(this, pid);
    const HRESULT hr = m_router ? m_router->RegisterStream(relay.get()) : S_OK;
    if (FAILED(hr))
        return hr; // the list stays, without a relay of its own
    list.relay = std::move(relay);
    return S_OK;
}

void CServiceManager::Link(CServiceRecord* record, uint16_t pid)
{
    AddPid(pid);
    auto& records = m_pidLists[pid].records;
    if (std::find(records.begin(), records.end(), record) == records.end())
        records.push_back(record);
}

void CServiceManager::Unlink(CServiceRecord* record)
{
    for (auto& list : m_pidLists)
        list.second.records.erase(std::remove(list.second.records.begin(), list.second.records.end(), record),
                                  list.second.records.end());
}

// A PID that no program uses any more is no longer routed.
void CServiceManager::DropUnusedRelays()
{
    for (auto it = m_pidLists.begin(); it != m_pidLists.end();) {
        if (!it->second.records.empty()) {
            ++it;
            continue;
        }
        if (it->second.relay && m_router)
            m_router->UnregisterStream(it->first);
        it = m_pidLists.erase(it);
    }
}

// ISO/IEC 13818-1, 2.4.4.8; stream kinds after ETSI EN 300 468 and the descriptors they carry.
HRESULT CServiceManager::OnPMT(CSIParser* parser, const uint8_t* section, uint32_t length, CPMTTable* table)
{
    CServiceRecord* record = nullptr;
    HRESULT opened;
    const auto known = [&] {
        record = FindRecord(table->GetProgramNumber());
        return record && record->service ? S_OK : S_FALSE;
    };
    if (!CSITable::OpenSection(table, section, length, opened, known))
        return opened;

    CService* service = record->service;
    {
        CService::CUpdateScope scope(*service);
        service->m_severalAudio = 0;
        service->m_hasTeletext = 0;
        service->m_hasSubtitles = 0;
        Unlink(record);
        service->ClearStreams();

        unsigned videoCount = 0, audioCount = 0;
        for (const auto& es : table->GetStreams()) {
            const uint16_t pid = es.elementary_PID;
            const bool isPcr = pid == table->GetPcrPid();
            const auto& descriptors = es.descriptors;
            const bool ac3 = FindDescriptor(descriptors, kAC3DescriptorTag) != nullptr;
            if (es.stream_type == 0x01 || es.stream_type == 0x02 || es.stream_type == 0x10 || es.stream_type == 0x1B) {
                service->AddStream(new CStream(CStream::kVideo, pid), isPcr);
                ++videoCount;
            } else if (es.stream_type == 0x03 || es.stream_type == 0x04 || es.stream_type == 0x81 ||
                       (es.stream_type == 0x06 && ac3)) {
                auto* audio = new CAudioStream(pid);
                if (const auto* iso = FindDescriptor<CISO639LanguageDescriptor>(descriptors))
                    CopyLanguage(audio->language, iso->GetLanguageCode());
                service->AddStream(audio, isPcr);
                ++audioCount;
            } else if (es.stream_type == 0x06 && FindDescriptor<CSubtitlingDescriptor>(descriptors)) {
                auto* subtitles = new CSubtitleStream(pid);
                StreamLanguage(descriptors, subtitles->language);
                service->AddStream(subtitles, isPcr);
                service->m_hasSubtitles = 1;
            } else if (es.stream_type == 0x06 && FindDescriptor<CTeletextDescriptor>(descriptors)) {
                auto* teletext = new CTeletextStream(pid);
                std::vector<CSubtitleStream*> pages;
                const auto& entries = FindDescriptor<CTeletextDescriptor>(descriptors)->GetEntries();
                for (const auto& entry : entries) {
                    const unsigned magazine = entry.teletext_magazine_number ? entry.teletext_magazine_number : 8;
                    const unsigned bcd = entry.teletext_page_number;
                    const uint16_t page = static_cast<uint16_t>(magazine * 100 + (bcd >> 4) * 10 + (bcd & 0x0F));
                    CTeletextStream::Entry& slot = teletext->entries[entry.teletext_type & 0x1F];
                    CopyLanguage(slot.language, entry.ISO_639_language_code);
                    slot.page = page;
                    if (entry.teletext_type == 2 || entry.teletext_type == 5) {
                        auto* subtitlePage = new CSubtitleStream(pid);
                        CopyLanguage(subtitlePage->language, entry.ISO_639_language_code);
                        subtitlePage->teletext = 1;
                        subtitlePage->page = page;
                        pages.push_back(subtitlePage);
                    }
                }
                CTeletextStream::Entry& initial = teletext->entries[CTeletextStream::kInitialPage];
                if (initial.page == 0) {
                    initial.page = 100;
                    if (!entries.empty())
                        CopyLanguage(initial.language, entries.back().ISO_639_language_code);
                }
                service->AddStream(teletext, isPcr);
                for (auto* subtitlePage : pages)
                    service->AddStream(subtitlePage, false);
                service->m_hasTeletext = 1;
                if (!pages.empty())
                    service->m_hasSubtitles = 1;
            } else {
                continue;
            }
            Link(record, pid);
        }
        service->m_severalAudio = audioCount > 1;
        if (videoCount >= 1)
            service->m_serviceType = CService::kTV;
        else if (audioCount >= 1)
            service->m_serviceType = CService::kRadio;
        scope.mask |= CService::kStreamsChanged;
    }
    DropUnusedRelays();

    record->pmtSeen = 1;
    {
        CService::CUpdateScope scope(*service);
        service->m_receptionState = CService::kReceived;
        scope.mask |= CService::kReceptionChanged;
    }
    if (EveryRecord(&CServiceRecord::pmtSeen))
        m_allPmtEvent.Set();
    return S_OK;
}

// ETSI EN 300 468, 5.2.3
HRESULT CServiceManager::OnSDT(CSIParser*, const uint8_t* section, uint32_t length, CSDTTable* table)
{
    HRESULT opened;
    const auto ours = [&] {
        m_sdtEvent.Set();
        return table->GetTransportStreamId() == m_transportStreamId ? S_OK : S_FALSE;
    };
    if (!CSITable::OpenSection(table, section, length, opened, ours))
        return opened;
    for (const auto& entry : table->GetServices()) {
        CServiceRecord* record = FindRecord(entry.service_id);
        if (!record || !record->service)
            continue;
        CService* service = record->service;
        CService::CUpdateScope scope(*service);
        service->m_freeCA = entry.free_CA_mode == 1;
        service->m_scrambled = 0;
        service->m_hasEPG = entry.EIT_schedule_flag || entry.EIT_present_following_flag;
        service->m_originalNetworkId = table->GetOriginalNetworkId();
        if (const auto* descriptor = FindDescriptor<CServiceDescriptor>(entry.descriptors)) {
            service->m_dvbServiceType = descriptor->GetServiceType();
            service->m_name = descriptor->GetServiceName();
            service->m_provider = descriptor->GetServiceProviderName();
            scope.mask |= CService::kDescriptionChanged;
        }
        record->sdtSeen = 1;
    }
    if (EveryRecord(&CServiceRecord::sdtSeen))
        m_allSdtEvent.Set();
    return S_OK;
}

// ETSI EN 300 468, 5.2.4: the present (section 0) and following (section 1) event.
HRESULT CServiceManager::OnEITPresentFollowing(CSIParser*, const uint8_t* section, uint32_t length, CEITTable* table)
{
    HRESULT opened;
    if (!CSITable::OpenSection(table, section, length, opened))
        return opened;
    CServiceRecord* record = FindRecord(table->GetServiceId());
    const unsigned number = table->GetSectionNumber();
    if (!record || !record->service || table->GetTableId() != 0x4E || table->GetEvents().size() > 1 || number > 1)
        return S_OK;
    CService* service = record->service;
    // An empty section says there is no present (or following) event now, between programmes.
    if (table->GetEvents().empty()) {
        CService::CUpdateScope scope(*service);
        (number == 0 ? service->m_present : service->m_following) = CService::CEvent();
        scope.mask |= CService::kEventsChanged;
        return S_OK;
    }
    const CEITTable::CEvent& event = table->GetEvents().front();
    const auto* shortEvent = FindDescriptor<CShortEventDescriptor>(event.descriptors);
    if (!shortEvent)
        return S_OK;
    CService::CUpdateScope scope(*service);
    CService::CEvent& target = number == 0 ? service->m_present : service->m_following;
    target.name = shortEvent->GetEventName();
    target.start = event.start; // already the UTC instant
    target.duration = event.duration;
    scope.mask |= CService::kEventsChanged;
    return S_OK;
}

HRESULT CServiceManager::OnTOT(CSIParser*, const uint8_t* section, uint32_t length, CTOTTable* table)
{
    HRESULT opened;
    if (!CSITable::OpenSection(table, section, length, opened))
        return opened;
    m_totTime = table->GetUtcTime();
    return S_OK;
}

HRESULT CServiceManager::OnStreamPacket(CTSDemultiplexerStream* stream, const uint8_t* packet, uint32_t length,
                                        uint32_t)
{
    auto found = m_pidLists.find(stream->GetPid());
    if (found == m_pidLists.end())
        return S_FALSE;
    for (CServiceRecord* record : found->second.records)
        if (record->service)
            record->service->OnStreamPacket(stream, packet, length, 0);
    return S_OK;
}

void CServiceManager::Detach(CServiceRecord* record)
{
    CService* service = record->service;
    Unlink(record);
    {
        CService::CUpdateScope scope(*service);
        service->m_manager = nullptr;
        service->m_receptionState = CService::kNotAttached;
        scope.mask |= CService::kReceptionChanged;
    }
    record->service = nullptr;
    if (m_callback)
        m_callback->OnServiceRemoved(this, record->service_id, service);
}

HRESULT CServiceManager::Reset()
{
    for (auto& record : m_records)
        if (record.second->service)
            Detach(record.second.get());
    m_records.clear();
    m_transportStreamId = 0;
    m_patVersion = -1;
    m_patSections.clear();
    for (auto& list : m_pidLists)
        if (list.second.relay && m_router)
            m_router->UnregisterStream(list.first);
    m_pidLists.clear();
    m_patEvent.Reset();
    m_allPmtEvent.Reset();
    m_sdtEvent.Reset();
    m_allSdtEvent.Reset();
    return S_OK;
}

} // namespace libDVB
