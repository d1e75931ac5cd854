#include "media/filters/mpegdemux/win/CBasePushDemux.h"

#include "dshow/CAutoLock.h"
#include "media/filters/mpegdemux/win/CBaseDemuxOutputPin.h"

namespace mpegdemux {

CBasePushDemux::CBasePushDemux(const wchar_t* name, IUnknown* owner, REFCLSID clsid, HRESULT* result)
    : CBaseFilter(name, owner, &m_filterLock, clsid, result)
{
}

CBasePushDemux::~CBasePushDemux()
{
    for (CBaseDemuxOutputPin* pin : m_pins)
        delete pin;
}

dshow::CBasePin* CBasePushDemux::GetPin(int index)
{
    if (index < 0 || index >= GetPinCount())
        return nullptr;
    return m_pins[static_cast<size_t>(index)];
}

unsigned CBasePushDemux::ConnectedPins() const
{
    unsigned mask = 0;
    for (size_t i = 0; i < m_pins.size(); ++i)
        if (m_pins[i]->IsConnected())
            mask |= 1u << i;
    return mask;
}

void CBasePushDemux::OnTimeBase(int64_t timeBase, uint32_t generation)
{
    dshow::CAutoLock lock(&m_referenceLock);
    bool current = true;
    for (CBaseDemuxOutputPin* pin : m_pins)
        current &= pin->SetTimeBase(timeBase, generation);
    if (current && m_referenceCallback)
        m_referenceCallback->OnReferenceTime(timeBase * 9 / 1000);
}

} // namespace mpegdemux
