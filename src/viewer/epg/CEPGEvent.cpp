#include "viewer/epg/CEPGEvent.h"

#include "viewer/osd/COSDString.h"

CEPGEvent::~CEPGEvent()
{
    DropText();
}

void CEPGEvent::DropText()
{
    delete m_titleText;
    m_titleText = nullptr;
}
