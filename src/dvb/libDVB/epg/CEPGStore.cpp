#include "dvb/libDVB/epg/CEPGStore.h"

#include <algorithm>

#include "base/Clock.h"
#include "base/File.h"
#include "dvb/libDVB/epg/CEPGCacheFile.h"
#include "dvb/libDVB/si/CEITTable.h"
#include "dvb/libDVB/si/DVBText.h"
#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"
#include "dvb/libDVB/si/descriptors/CContentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CExtendedEventDescriptor.h"
#include "dvb/libDVB/si/descriptors/CShortEventDescriptor.h"

namespace libDVB {

CEPGStore::CEPGStore(const std::u16string& cachePath, Clock now) : m_cachePath(cachePath), m_now(std::move(now))
{
    if (!m_cachePath.empty())
        Load();
}

CEPGStore::~CEPGStore()
{
    if (!m_cachePath.empty())
        Save();
}

int64_t CEPGStore::Now() const { return m_now ? m_now() : base::UtcNow(); }

HRESULT CEPGStore::Merge(const uint8_t* section, uint32_t length, CEITTable* table)
{
    HRESULT opened;
    if (!CSITable::OpenSection(table, section, length, opened))
        return opened;
    for (const CEITTable::CEvent& event : table->GetEvents()) {
        CEITEventUpdate u;
        u.original_network_id = table->GetOriginalNetworkId();
        u.transport_stream_id = table->GetTransportStreamId();
        u.service_id = table->GetServiceId();
        u.event_id = event.event_id;
        u.start = event.start;
        u.duration = event.duration;
        u.running_status = event.running_status;
        for (const auto& d : event.descriptors) {
            switch (d->GetTag()) {
            case CShortEventDescriptor::kTag: {
                const auto& s = static_cast<const CShortEventDescriptor&>(*d);
                u.shortEvents.push_back({s.GetEventName(), s.GetText()});
                break;
            }
            case CExtendedEventDescriptor::kTag: {
                const auto& x = static_cast<const CExtendedEventDescriptor&>(*d);
                u.extendedEvents.push_back({x.GetDescriptorNumber(), x.GetLastDescriptorNumber(), x.GetText()});
                break;
            }
            case CContentDescriptor::kTag:
                for (const auto& item : static_cast<const CContentDescriptor&>(*d).GetEntries())
                    u.contentValues.push_back(item.content);
                break;
            default:
                break;
            }
        }
        MergeEvent(u);
    }
    return S_OK;
}

void CEPGStore::MergeEvent(const CEITEventUpdate& u)
{
    base::CScopedLock lock(m_lock);
    const uint64_t key = CEITEvent::MakeEventKey(u.original_network_id, u.transport_stream_id, u.service_id, u.event_id);
    auto& slot = m_events[key];
    const bool isNew = !slot;
    if (isNew) {
        slot.reset(new CEITEvent);
        m_newEvent.Set();
    }
    CEITEvent& e = *slot;
    const bool startChanged = !isNew && e.start != u.start;
    e.original_network_id = u.original_network_id;
    e.transport_stream_id = u.transport_stream_id;
    e.service_id = u.service_id;
    e.event_id = u.event_id;
    e.start = u.start;
    e.duration = u.duration;
    e.running_status = u.running_status;
    if (isNew && m_guideFrom <= e.start && e.start <= m_guideTo)
        m_guideRefresh.Set();
    AddToServiceList(&e, startChanged);

    e.name.clear();
    e.shortText.clear();
    for (const auto& s : u.shortEvents) {
        if (!e.name.empty())
            e.name += u'\n';
        if (!e.shortText.empty())
            e.shortText += u'\n';
        e.name += s.name;
        e.shortText += s.text;
    }

    // Extended texts come numbered 0..last_descriptor_number; a repeated number keeps the first
    // text, a number beyond the announced last one is ignored, a missing one stays empty.
    e.extendedText.clear();
    if (!u.extendedEvents.empty()) {
        const size_t count = static_cast<size_t>(u.extendedEvents.front().last_descriptor_number) + 1;
        std::vector<const std::u16string*> parts(count, nullptr);
        for (const auto& x : u.extendedEvents)
            if (x.descriptor_number < count && !parts[x.descriptor_number])
                parts[x.descriptor_number] = &x.text;
        for (const auto* part : parts)
            if (part)
                e.extendedText += *part;
        TrimDVBText(e.extendedText);
    }

    e.content = 0;
    for (uint32_t value : u.contentValues) {
        if (e.content != 0)
            break;
        e.content = value;
    }
}

// Keeps a service's list in ascending start order; an event whose start changed moves to its
// new place, so now/next and the guide stay right.
void CEPGStore::AddToServiceList(CEITEvent* event, bool startChanged)
{
    auto& list = m_services[event->ServiceKey()];
    auto found = std::find(list.begin(), list.end(), event);
    if (found != list.end()) {
        if (!startChanged)
            return;
        list.erase(found);
    }
    auto place = std::upper_bound(list.begin(), list.end(), event->start,
                                  [](int64_t start, const CEITEvent* e) { return start < e->start; });
    list.insert(place, event);
}

void CEPGStore::GetServiceEvents(uint16_t onid, uint16_t tsid, uint16_t sid, CEventList& out)
{
    base::CScopedLock lock(m_lock);
    auto found = m_services.find(CEITEvent::MakeEventKey(onid, tsid, sid, 0));
    if (found == m_services.end())
        return;
    for (const CEITEvent* e : found->second)
        out.push_back(*e);
}

HRESULT CEPGStore::GetNowNext(uint16_t tsid, uint16_t sid, uint16_t onid, CEITEvent* present, CEITEvent* following,
                              float* fraction)
{
    CEventList events;
    GetServiceEvents(onid, tsid, sid, events);
    const int64_t now = Now();
    for (size_t i = 0; i < events.size(); ++i) {
        const CEITEvent& e = events[i];
        // An event covers [start, start + duration): now - start < duration, in unsigned arithmetic
        // so that no stored value can overflow it. At its end instant the next event is on.
        if (e.start <= now && e.duration >= 0 &&
            static_cast<uint64_t>(now) - static_cast<uint64_t>(e.start) < static_cast<uint64_t>(e.duration)) {
            if (present)
                *present = e;
            if (following)
                *following = i + 1 < events.size() ? events[i + 1] : CEITEvent();
            if (fraction)
                *fraction = e.duration > 0 ? static_cast<float>(static_cast<double>(now - e.start) / e.duration) : 0.0f;
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT CEPGStore::GetEvent(uint64_t eventKey, CEITEvent* out)
{
    if (!out)
        return E_POINTER;
    base::CScopedLock lock(m_lock);
    auto found = m_events.find(eventKey);
    if (found == m_events.end())
        return E_FAIL;
    *out = *found->second;
    return S_OK;
}

void CEPGStore::SetGuideWindow(int64_t from, int64_t to)
{
    base::CScopedLock lock(m_lock);
    m_guideFrom = from;
    m_guideTo = to;
}

size_t CEPGStore::GetEventCount()
{
    base::CScopedLock lock(m_lock);
    return m_events.size();
}

bool CEPGStore::Save()
{
    std::vector<uint8_t> bytes;
    {
        base::CScopedLock lock(m_lock);
        std::vector<const CEITEvent*> events;
        events.reserve(m_events.size());
        for (const auto& e : m_events)
            events.push_back(e.second.get());
        bytes = CEPGCacheFile::Write(events, Now());
    }
    return base::WriteFileReplacing(m_cachePath, bytes);
}

bool CEPGStore::Load()
{
    std::vector<uint8_t> bytes;
    if (!base::ReadWholeFile(m_cachePath, bytes))
        return false;
    base::CScopedLock lock(m_lock);
    const int read = CEPGCacheFile::Read(bytes, Now(), [this](CEITEvent&& loaded) {
        auto& slot = m_events[loaded.EventKey()];
        const bool known = static_cast<bool>(slot);
        if (!known)
            slot.reset(new CEITEvent(std::move(loaded)));
        else
            *slot = std::move(loaded);
        AddToServiceList(slot.get(), known);
    });
    return read >= 0;
}

} // namespace libDVB
