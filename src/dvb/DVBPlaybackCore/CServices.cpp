#include "dvb/DVBPlaybackCore/CServices.h"

#include <algorithm>
#include <climits>
#include <set>
#include <utility>

#include "base/ByteWriter.h"
#include "base/Trace.h"
#include "dvb/DVBPlaybackCore/NameOrder.h"
#include "dvb/DVBPlaybackCore/TextCase.h"

namespace DVBPlaybackCore {

namespace {

std::u16string ProgramName(uint16_t serviceId)
{
    std::u16string digits;
    unsigned v = serviceId;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
        v /= 10;
    } while (v);
    return u"Program " + digits;
}

bool ByChannelNumber(const CQORService* a, const CQORService* b)
{
    const int32_t x = a->GetChannelNumber(), y = b->GetChannelNumber();
    return x != y ? x < y : a->GetKey() < b->GetKey();
}

bool ByFavouriteNumber(const CQORService* a, const CQORService* b)
{
    const int32_t x = a->GetFavouriteNumber(), y = b->GetFavouriteNumber();
    return x != y ? x < y : a->GetKey() < b->GetKey();
}

} // namespace

CServices::CServices(libDVB::CService::CServiceCallback* callback, const std::u16string& programFolder)
    : m_callback(callback), m_programFolder(programFolder)
{
    LoadChannels();
}

CServices::~CServices()
{
    base::CScopedLock lock(m_lock);
    m_temporary.clear();
    m_favourites.map.clear();
    m_radio.map.clear();
    m_tv.map.clear();
    m_channels.clear();
    m_retired.clear();
}

std::u16string CServices::GetChannelFilePath() const
{
#ifdef _WIN32
    return m_programFolder + u"\\channels.dat";
#else
    return m_programFolder + u"/channels.dat";
#endif
}

bool CServices::ReadFile(std::vector<uint8_t>& bytes, base::CFileStamp& stamp) const
{
    // A writer that replaces the file while it is read is noticed by its changed stamp.
    const std::u16string path = GetChannelFilePath();
    for (int attempt = 0; attempt < 3; ++attempt) {
        stamp = base::GetFileStamp(path);
        if (!stamp.exists || !base::ReadWholeFile(path, bytes))
            return false;
        if (base::GetFileStamp(path) == stamp)
            return true;
    }
    return false;
}

std::vector<std::unique_ptr<CQORService>> CServices::ParseRecords(const std::vector<uint8_t>& bytes) const
{
    std::vector<std::unique_ptr<CQORService>> records;
    base::CByteReader file(bytes.data(), bytes.size());
    const uint32_t count = file.U32LE();
    // The count is not trusted: reading stops at the end of the file or at the first record that
    // cannot be read, since nothing after it can be placed.
    for (uint32_t i = 0; i < count && !file.Empty(); ++i) {
        auto record = std::make_unique<CQORService>(m_callback, file);
        if (!record->IsValid()) {
            base::TraceRefused("channel file", "unreadable channel record; the rest is dropped");
            break;
        }
        records.push_back(std::move(record));
    }
    if (records.size() < count && file.Empty())
        base::TraceRefused("channel file", "fewer records than its count");
    return records;
}

bool CServices::LoadChannels()
{
    base::CScopedLock lock(m_lock);
    std::vector<uint8_t> bytes;
    base::CFileStamp stamp;
    if (!ReadFile(bytes, stamp)) {
        m_loading = false;
        return false;
    }
    m_loading = true;
    for (auto& record : ParseRecords(bytes))
        if (AddService(record.get()) == S_OK)
            record.release();
    m_loading = false;
    RebuildLists();
    m_fileBytes = std::move(bytes);
    m_fileStamp = stamp;
    return true;
}

std::vector<uint8_t> CServices::SerialiseChannels() const
{
    base::CScopedLock lock(m_lock);
    std::vector<uint8_t> bytes;
    base::CByteWriter file(bytes);
    uint32_t count = 0;
    for (const auto& entry : m_channels)
        if (entry.second->GetNotSaved() == 0)
            ++count;
    file.U32LE(count);
    for (const auto& entry : m_channels)
        if (entry.second->GetNotSaved() == 0)
            entry.second->Save(file);
    return bytes;
}

HRESULT CServices::SaveChannels()
{
    base::CScopedLock lock(m_lock);
    const std::u16string path = GetChannelFilePath();
    const base::CFileStamp stamp = base::GetFileStamp(path);
    if (stamp.exists && stamp != m_fileStamp) {
        // Another program (the configurator) wrote the list since it was read here: its edits
        // win over this copy, which takes them up instead of writing over them.
        std::vector<uint8_t> bytes;
        base::CFileStamp readStamp;
        if (!ReadFile(bytes, readStamp))
            return E_FAIL;
        Reload(bytes);
        m_fileBytes = std::move(bytes);
        m_fileStamp = readStamp;
        return S_FALSE;
    }
    std::vector<uint8_t> bytes = SerialiseChannels();
    if (stamp.exists && bytes == m_fileBytes)
        return S_FALSE;
    if (!base::WriteFileReplacing(path, bytes))
        return E_FAIL;
    m_fileBytes = std::move(bytes);
    m_fileStamp = base::GetFileStamp(path);
    return S_OK;
}

void CServices::Reload(const std::vector<uint8_t>& bytes)
{
    std::set<uint32_t> inFile;
    for (auto& record : ParseRecords(bytes)) {
        const uint32_t key = record->GetKey();
        if (!inFile.insert(key).second) {
            // A duplicate within the file: merged as loading does.
            record->MergeTuneInfosInto(*m_channels[key]);
            continue;
        }
        auto known = m_channels.find(key);
        if (known == m_channels.end()) {
            m_channels[key] = std::move(record);
            continue;
        }
        CQORService* service = known->second.get();
        service->TakeStoredFields(*record);
        service->SetNotSaved(0);
        m_temporary.erase(service);
    }
    for (auto it = m_channels.begin(); it != m_channels.end();) {
        if (it->second->GetNotSaved() == 0 && !inFile.count(it->first)) {
            m_retired.push_back(std::move(it->second));
            it = m_channels.erase(it);
        } else {
            ++it;
        }
    }
    RebuildMaps();
}

void CServices::RebuildMaps()
{
    for (CList* list : {&m_favourites, &m_radio, &m_tv}) {
        list->map.clear();
        ++list->version;
    }
    for (const auto& entry : m_channels) {
        CQORService* service = entry.second.get();
        CList* list = service->GetServiceType() == libDVB::CService::kTV      ? &m_tv
                      : service->GetServiceType() == libDVB::CService::kRadio ? &m_radio
                                                                              : nullptr;
        if (list)
            list->map[entry.first] = service;
        if (service->GetFavouriteNumber() >= 0)
            m_favourites.map[entry.first] = service;
    }
    for (CList* list : {&m_radio, &m_tv})
        for (const auto& entry : list->map)
            if (entry.second->GetChannelNumber() < 0)
                entry.second->SetChannelNumber(NextChannelNumber(*list));
    RebuildLists();
}

int32_t CServices::NextChannelNumber(const CList& list)
{
    // The highest number + 1, so that a gap never makes a number repeat.
    int32_t highest = 0;
    for (const auto& entry : list.map)
        highest = std::max(highest, entry.second->GetChannelNumber());
    if (highest < INT32_MAX)
        return highest + 1;
    std::set<int32_t> used;
    for (const auto& entry : list.map)
        used.insert(entry.second->GetChannelNumber());
    int32_t number = 1;
    while (used.count(number))
        ++number;
    return number;
}

void CServices::Insert(CList& list, uint32_t key, CQORService* service)
{
    list.map[key] = service;
    ++list.version;
}

void CServices::Erase(CList& list, uint32_t key, CQORService* service)
{
    auto found = list.map.find(key);
    if (found != list.map.end() && found->second == service) {
        list.map.erase(found);
        ++list.version;
    }
    auto at = std::find(list.sorted.begin(), list.sorted.end(), service);
    if (at != list.sorted.end()) {
        list.sorted.erase(at);
        ++list.version;
    }
}

HRESULT CServices::AddService(CQORService* service)
{
    if (!service || !service->IsValid())
        return E_FAIL;
    base::CScopedLock lock(m_lock);
    const uint32_t key = service->GetKey();
    auto known = m_channels.find(key);
    if (known != m_channels.end()) {
        if (known->second.get() != service)
            service->MergeTuneInfosInto(*known->second);
        return S_FALSE;
    }
    CList* list = service->GetServiceType() == libDVB::CService::kTV      ? &m_tv
                  : service->GetServiceType() == libDVB::CService::kRadio ? &m_radio
                                                                          : nullptr;
    if (list) {
        if (service->GetChannelNumber() < 0)
            service->SetChannelNumber(NextChannelNumber(*list));
        Insert(*list, key, service);
    }
    m_channels[key].reset(service);
    if (service->GetFavouriteNumber() >= 0)
        Insert(m_favourites, key, service);
    if (!m_loading)
        RebuildLists();
    return S_OK;
}

HRESULT CServices::RemoveService(CQORService* service)
{
    if (!service)
        return E_INVALIDARG;
    base::CScopedLock lock(m_lock);
    const uint32_t key = service->GetKey();
    auto known = m_channels.find(key);
    if (known != m_channels.end() && known->second.get() == service) {
        known->second.release();
        m_channels.erase(known);
    }
    for (CList* list : {&m_favourites, &m_radio, &m_tv})
        Erase(*list, key, service);
    m_temporary.erase(service);
    return S_OK;
}

HRESULT CServices::OnServiceAdded(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!manager)
        return E_INVALIDARG;
    const std::u16string& kind = manager->GetDeviceKind();
    const bool file = kind == u"FILE";
    const uint32_t network = (file || kind == u"MULTICAST") ? 1 : 0;
    // A file's services are never the broadcast ones of the list: they get a key of their own.
    const uint16_t transportStreamId = file ? uint16_t(0xFFFF) : manager->GetTransportStreamId();
    const uint32_t key = KeyOf(transportStreamId, serviceId);

    base::CScopedLock lock(m_lock);
    CQORService* service = nullptr;
    auto known = m_channels.find(key);
    if (known != m_channels.end()) {
        // Known from the file, or found by another device (then fed by both) or by a file played
        // before: the new record would be merged away, so the known one answers.
        service = known->second.get();
        auto temporary = m_temporary.find(service);
        if (temporary != m_temporary.end())
            ++temporary->second;
    } else {
        auto created = std::make_unique<CQORService>(m_callback, manager, serviceId, transportStreamId,
                                                     ProgramName(serviceId));
        created->SetNotSaved(1);
        const HRESULT added = AddService(created.get());
        if (added != S_OK)
            return FAILED(added) ? added : E_UNEXPECTED;
        service = created.release();
        m_temporary[service] = 1;
    }
    service->SetNetwork(network);
    *out = service;
    return S_OK;
}

HRESULT CServices::OnServiceRemoved(libDVB::CServiceManager*, uint16_t, libDVB::CService* service)
{
    base::CScopedLock lock(m_lock);
    auto entry = m_temporary.find(service);
    if (entry == m_temporary.end())
        return S_FALSE; // a record of the channel file stays
    if (--entry->second > 0)
        return S_OK; // another device still feeds it
    auto* record = static_cast<CQORService*>(entry->first);
    m_temporary.erase(entry);
    RemoveService(record);
    m_retired.emplace_back(record);
    return S_OK;
}

HRESULT CServices::Copy(const CList& list, ServiceArray& out, bool onlyIfChanged, uint64_t& version) const
{
    base::CScopedLock lock(m_lock);
    if (onlyIfChanged && version == list.version)
        return S_FALSE;
    out = list.sorted;
    version = list.version;
    return S_OK;
}

HRESULT CServices::GetTVServices(ServiceArray& out, bool onlyIfChanged, uint64_t& version) const
{
    return Copy(m_tv, out, onlyIfChanged, version);
}

HRESULT CServices::GetRadioServices(ServiceArray& out, bool onlyIfChanged, uint64_t& version) const
{
    return Copy(m_radio, out, onlyIfChanged, version);
}

HRESULT CServices::GetFavouriteServices(ServiceArray& out, bool onlyIfChanged, uint64_t& version) const
{
    return Copy(m_favourites, out, onlyIfChanged, version);
}

void CServices::GetAllServices(ServiceArray& out) const
{
    base::CScopedLock lock(m_lock);
    out.clear();
    for (const auto& entry : m_channels)
        out.push_back(entry.second.get());
}

void CServices::GetRunningServices(ServiceArray& out, bool networkOnly) const
{
    base::CScopedLock lock(m_lock);
    for (const auto& entry : m_channels)
        if (entry.second->GetReceptionState() == libDVB::CService::kReceived &&
            (!networkOnly || entry.second->GetNetwork() != 0))
            out.push_back(entry.second.get());
}

CQORService* CServices::FindService(uint32_t key) const
{
    base::CScopedLock lock(m_lock);
    auto found = m_channels.find(key);
    return found == m_channels.end() ? nullptr : found->second.get();
}

CQORService* CServices::GetNextService(CQORService* current, int32_t& position) const
{
    base::CScopedLock lock(m_lock);
    const std::pair<const ServiceArray*, int32_t> lists[] = {
        {&m_favourites.sorted, kFavouriteBase}, {&m_tv.sorted, kTVBase}, {&m_radio.sorted, kRadioBase}};
    if (!current) {
        for (const auto& list : lists)
            if (!list.first->empty()) {
                position = list.second;
                return list.first->front();
            }
        return nullptr;
    }
    const int64_t p = current->GetListPosition();
    if (p < 0)
        return nullptr;
    for (const auto& list : lists) {
        const int64_t n = static_cast<int64_t>(list.first->size());
        const int64_t offset = p - (list.second - 1);
        if (n == 0 || offset < 0 || offset > n)
            continue;
        const int64_t next = offset == n ? 1 : offset + 1;
        position = static_cast<int32_t>(list.second - 1 + next);
        return (*list.first)[static_cast<size_t>(next - 1)];
    }
    return nullptr;
}

CQORService* CServices::GetPreviousService(CQORService* current, int32_t& position) const
{
    base::CScopedLock lock(m_lock);
    if (!current)
        return GetNextService(nullptr, position);
    const std::pair<const ServiceArray*, int32_t> lists[] = {
        {&m_favourites.sorted, kFavouriteBase}, {&m_tv.sorted, kTVBase}, {&m_radio.sorted, kRadioBase}};
    const int64_t p = current->GetListPosition();
    for (const auto& list : lists) {
        const int64_t n = static_cast<int64_t>(list.first->size());
        const int64_t offset = p - (list.second - 1);
        // The favourites also answer for the position just past their end.
        const int64_t last = list.second == kFavouriteBase ? n + 1 : n;
        if (n == 0 || offset < 1 || offset > last)
            continue;
        const int64_t previous = offset == 1 ? n : offset - 1;
        position = static_cast<int32_t>(list.second - 1 + previous);
        return (*list.first)[static_cast<size_t>(previous - 1)];
    }
    return nullptr;
}

void CServices::ReleaseRetiredServices()
{
    std::vector<std::unique_ptr<CQORService>> retired;
    {
        base::CScopedLock lock(m_lock);
        retired.swap(m_retired);
    }
    // Deleted outside the list lock: a record's destructor ends its timeshift thread.
}

void CServices::SetFavourite(CQORService* service, int32_t number)
{
    if (!service)
        return;
    base::CScopedLock lock(m_lock);
    const uint32_t key = service->GetKey();
    service->SetFavouriteNumber(number < 0 ? -1 : number);
    auto known = m_channels.find(key);
    if (number >= 0 && known != m_channels.end() && known->second.get() == service)
        Insert(m_favourites, key, service);
    else
        Erase(m_favourites, key, service);
    RebuildLists();
}

void CServices::RebuildLists()
{
    base::CScopedLock lock(m_lock);
    const std::pair<CList*, bool (*)(const CQORService*, const CQORService*)> lists[] = {
        {&m_tv, ByChannelNumber}, {&m_radio, ByChannelNumber}, {&m_favourites, ByFavouriteNumber}};
    for (const auto& entry : lists) {
        CList& list = *entry.first;
        ServiceArray sorted;
        sorted.reserve(list.map.size());
        for (const auto& item : list.map)
            sorted.push_back(item.second);
        std::sort(sorted.begin(), sorted.end(), entry.second);
        if (sorted != list.sorted) {
            list.sorted = std::move(sorted);
            ++list.version;
        }
    }
}

void CServices::SortServicesByName(ServiceArray& services)
{
    if (services.size() < 2)
        return;
    std::vector<std::pair<std::u16string, CQORService*>> named;
    named.reserve(services.size());
    for (CQORService* service : services)
        named.emplace_back(LowerCase(service->GetName()), service);
    std::stable_sort(named.begin(), named.end(),
                     [](const auto& a, const auto& b) { return CompareNames(a.first, b.first) < 0; });
    for (size_t i = 0; i < named.size(); ++i)
        services[i] = named[i].second;
}

} // namespace DVBPlaybackCore
