// The position interface of a renderer: IMediaSeeking passed upstream to the output pin its input
// pin is connected to (the splitter or source that can seek). The filter graph manager seeks
// through every renderer that offers it, so each stream's source learns the new place; a
// renderer without it leaves its stream behind (or a video-only file unseekable). Without a
// connection, or upstream without IMediaSeeking, every call fails with E_NOTIMPL.
#pragma once

#include <strmif.h>

#include "dshow/CBasePin.h"

namespace dshow {

class CRendererPosPassThru final : public IMediaSeeking {
public:
    // owner: the filter's public IUnknown (references go to it); input: the renderer's input pin.
    CRendererPosPassThru(IUnknown* owner, CBasePin* input) : m_owner(owner), m_input(input) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return m_owner->QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_owner->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_owner->Release(); }

    STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
    STDMETHODIMP CheckCapabilities(DWORD* capabilities) override;
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    STDMETHODIMP GetTimeFormat(GUID* format) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    STDMETHODIMP SetTimeFormat(const GUID* format) override;
    STDMETHODIMP GetDuration(LONGLONG* duration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                   const GUID* sourceFormat) override;
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

private:
    // The upstream pin's IMediaSeeking with one reference, or null.
    IMediaSeeking* Upstream() const;
    template <class Call>
    HRESULT Pass(Call call) const;

    IUnknown* m_owner;
    CBasePin* m_input;
};

} // namespace dshow
