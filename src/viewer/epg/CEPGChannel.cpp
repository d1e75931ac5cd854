#include "viewer/epg/CEPGChannel.h"

#include "viewer/osd/COSDString.h"

CEPGChannel::~CEPGChannel()
{
    for (POSITION pos = m_events.GetHeadPosition(); pos;)
        delete m_events.GetNext(pos);
    m_events.RemoveAll();
    delete m_nameText;
}

POSITION CEPGChannel::FindFirstVisible(int64_t time) const
{
    POSITION previous = nullptr;
    for (POSITION pos = m_events.GetHeadPosition(); pos;) {
        const POSITION current = pos;
        const CEPGEvent* event = m_events.GetNext(pos);
        if (event->End() > time)
            return previous ? previous : current;
        previous = current;
    }
    return nullptr;
}

void CEPGChannel::DropTexts()
{
    delete m_nameText;
    m_nameText = nullptr;
    for (POSITION pos = m_events.GetHeadPosition(); pos;)
        m_events.GetNext(pos)->DropText();
}
