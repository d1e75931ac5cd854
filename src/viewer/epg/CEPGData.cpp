#include "viewer/epg/CEPGData.h"

#include <utility>

#include "base/Clock.h"

CEPGData::CEPGData() : CEPGData(base::UtcNow()) {}

CEPGData::CEPGData(int64_t now) : m_front(&m_arrays[0]), m_back(&m_arrays[1])
{
    m_gridStart = InitialGridStart(now);
}

CEPGData::~CEPGData()
{
    DeleteChannels(m_arrays[0]);
    DeleteChannels(m_arrays[1]);
}

int64_t CEPGData::InitialGridStart(int64_t now)
{
    // Round in local wall-clock time (zones of half and quarter hours exist), keep the instant.
    const int64_t local = now + base::LocalUtcOffset(now);
    int64_t intoHalfHour = local % 1800;
    if (intoHalfHour < 0)
        intoHalfHour += 1800;
    return now - intoHalfHour - 1800;
}

void CEPGData::DeleteChannels(CEPGChannelArray& channels)
{
    for (ptrdiff_t i = 0; i < channels.GetSize(); ++i)
        delete channels[i];
    channels.RemoveAll();
}

int32_t CEPGData::BeginUpdate()
{
    // A fill in progress is never emptied under the engine.
    bool expected = false;
    if (!m_updating.compare_exchange_strong(expected, true))
        return kFailed;
    DeleteChannels(*m_back);
    return 0;
}

int32_t CEPGData::AddChannel(const CString& name, uint32_t keyLow, uint32_t keyHigh, CEPGChannel** channel)
{
    for (ptrdiff_t i = 0; i < m_back->GetSize(); ++i) {
        CEPGChannel* existing = (*m_back)[i];
        if (existing->m_keyLow == keyLow && existing->m_keyHigh == keyHigh) {
            *channel = existing;
            return 1;
        }
    }
    auto* created = new CEPGChannel();
    created->m_keyLow = keyLow;
    created->m_keyHigh = keyHigh;
    created->m_name = name;
    m_back->Add(created);
    *channel = created;
    return 0;
}

int32_t CEPGData::AddEvent(CEPGChannel* channel, const CString& title, uint32_t keyLow, uint32_t keyHigh,
                           int64_t start, int32_t durationMinutes, uint32_t genre, const CString& text,
                           const CString& extraText, uint32_t flags)
{
    auto* event = new CEPGEvent();
    event->m_keyLow = keyLow;
    event->m_keyHigh = keyHigh;
    event->m_title = title;
    event->m_start = start;
    event->m_durationMinutes = durationMinutes;
    event->m_genre = genre;
    event->m_text = text;
    event->m_extraText = extraText;
    event->m_flags = flags;

    auto& events = channel->m_events;
    if (events.IsEmpty()) {
        events.AddTail(event);
        return 0;
    }
    for (POSITION pos = events.GetHeadPosition(); pos;) {
        const POSITION currentPos = pos;
        CEPGEvent* current = events.GetNext(pos);
        if (current->HasKey(keyLow, keyHigh)) {
            delete event;
            return 1;
        }
        if (!pos) {
            if (current->m_start > start)
                events.AddHead(event);
            else
                events.AddTail(event);
            return 0;
        }
        const CEPGEvent* next = events.GetAt(pos);
        if (next->HasKey(keyLow, keyHigh)) {
            delete event;
            return 1;
        }
        if (current->m_start <= start && next->m_start >= event->End()) {
            events.InsertAfter(currentPos, event);
            return 0;
        }
    }
    return 0; // not reached: the walk ends at the last element
}

int32_t CEPGData::Publish()
{
    std::swap(m_front, m_back);
    m_updating.store(false);
    return 0;
}

void CEPGData::DropTexts()
{
    for (CEPGChannelArray& channels : m_arrays) {
        for (ptrdiff_t i = 0; i < channels.GetSize(); ++i)
            channels[i]->DropTexts();
    }
}

CEPGChannel* CEPGData::Row(int row) const
{
    return row >= 0 && row < m_front->GetSize() ? (*m_front)[row] : nullptr;
}
