// A filter without an input pin whose owner pushes the data in: a list of demultiplexer output
// pins (owned), the filter lock, and the time base shared by the pins.
#pragma once

#include <cstdint>
#include <vector>

#include "dshow/CBaseFilter.h"
#include "dshow/CCritSec.h"
#include "media/filters/mpegdemux/win/CReferencePinCallback.h"

namespace mpegdemux {

class CBaseDemuxOutputPin;

class CBasePushDemux : public dshow::CBaseFilter {
public:
    CBasePushDemux(const wchar_t* name, IUnknown* owner, REFCLSID clsid, HRESULT* result);
    ~CBasePushDemux() override;

    int GetPinCount() override { return static_cast<int>(m_pins.size()); }
    dshow::CBasePin* GetPin(int index) override;

    // The owner of the graph sets this right after construction; null: no one is told.
    CReferencePinCallback* m_referenceCallback = nullptr;

    dshow::CCritSec* FilterLock() { return &m_filterLock; }

protected:
    CBaseDemuxOutputPin* Pin(int index) const { return m_pins[static_cast<size_t>(index)]; }
    // Bit n set when pin n has a downstream connection.
    unsigned ConnectedPins() const;
    // Hands a decided time base (100 ns) of one SetPIDs/Reset generation to every pin and tells
    // the owner, in 90 kHz units.
    void OnTimeBase(int64_t timeBase, uint32_t generation);

    std::vector<CBaseDemuxOutputPin*> m_pins;
    dshow::CCritSec m_filterLock;
    dshow::CCritSec m_referenceLock;
};

} // namespace mpegdemux
