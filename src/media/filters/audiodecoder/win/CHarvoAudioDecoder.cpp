#include "media/filters/audiodecoder/win/CHarvoAudioDecoder.h"

#include <mmreg.h>

#include <new>

#include "dshow/CAutoLock.h"
#include "media/filters/audiodecoder/win/CAudioInputPin.h"
#include "media/filters/audiodecoder/win/CAudioOutputPin.h"

namespace audiofilter {

using dshow::CAutoLock;
using dshow::CMediaType;

const CLSID CLSID_HarvoAudioDecoder = {0xB61A5F38, 0x7A19, 0x4B34, {0xA6, 0xA0, 0x19, 0x49, 0x91, 0xDE, 0x67, 0x09}};

namespace {

constexpr GUID kSubtypeMpeg1Payload = {0xE436EB81, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr GUID kSubtypeMpeg2Audio = {0xE06D802B, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr GUID kSubtypeDolbyAc3 = {0xE06D802C, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr GUID kSubtypeWaveAc3 = {0x00002000, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

StreamKind KindOf(const CMediaType* mt)
{
    if (*mt->Type() != MEDIATYPE_Audio)
        return StreamKind::kNone;
    const GUID& subtype = *mt->Subtype();
    if (subtype == kSubtypeDolbyAc3 || subtype == kSubtypeWaveAc3)
        return StreamKind::kAc3;
    if (subtype == kSubtypeMpeg1Payload || subtype == kSubtypeMpeg2Audio)
        return StreamKind::kMpeg;
    return StreamKind::kNone;
}

} // namespace

CHarvoAudioDecoder::CHarvoAudioDecoder(IUnknown* owner, HRESULT* result, REFCLSID clsid)
    : CTransformFilter(L"Harvo Audio Decoder", owner, clsid)
{
    HRESULT hr = S_OK;
    m_audioInput = new (std::nothrow) CAudioInputPin(this, &hr);
    m_audioOutput = new (std::nothrow) CAudioOutputPin(this, &hr);
    m_pInput = m_audioInput;
    m_pOutput = m_audioOutput;
    m_timeline.Restart();
    if (result)
        *result = (m_audioInput && m_audioOutput && m_pump.Allocated()) ? S_OK : E_OUTOFMEMORY;
}

CHarvoAudioDecoder::~CHarvoAudioDecoder() = default;

HRESULT CHarvoAudioDecoder::CheckInputType(const CMediaType* in)
{
    return KindOf(in) == StreamKind::kNone ? E_FAIL : S_OK;
}

HRESULT CHarvoAudioDecoder::CheckTransform(const CMediaType* in, const CMediaType*)
{
    return CheckInputType(in);
}

HRESULT CHarvoAudioDecoder::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = 1;
    request->cbBuffer = kBufferSize;
    request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual;
    HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    if (actual.cBuffers < request->cBuffers || actual.cbBuffer < request->cbBuffer || actual.cbAlign < request->cbAlign)
        return E_FAIL;
    return S_OK;
}

HRESULT CHarvoAudioDecoder::GetMediaType(int position, CMediaType* mt)
{
    CAutoLock lock(&m_decoderLock);
    if (!m_pInput->IsConnected() || !m_pump.HasDecoder())
        return VFW_S_NO_MORE_ITEMS;
    if (position < 0)
        return E_INVALIDARG;
    const audio::AudioFrameDecoder* decoder = m_pump.Decoder();
    const audio::AudioFrameDecoder::StreamInfo* info = decoder->GetStreamInfo();
    const audio::AudioFrameDecoder::OutputFormat* format = decoder->GetOutputFormat();
    if (position > 0 || !info)
        return VFW_S_NO_MORE_ITEMS;
    mt->InitMediaType();
    mt->SetType(&MEDIATYPE_Audio);
    mt->SetSubtype(&MEDIASUBTYPE_PCM);
    mt->SetFormatType(&FORMAT_WaveFormatEx);
    mt->SetTemporalCompression(FALSE);
    WAVEFORMATEX* wave = reinterpret_cast<WAVEFORMATEX*>(mt->AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    if (!wave)
        return E_OUTOFMEMORY;
    wave->wFormatTag = WAVE_FORMAT_PCM;
    wave->nChannels = static_cast<WORD>(format->channels);
    wave->nSamplesPerSec = info->sampleRate;
    wave->wBitsPerSample = static_cast<WORD>(format->bitsPerSample);
    wave->nBlockAlign = static_cast<WORD>(wave->nChannels * wave->wBitsPerSample / 8);
    wave->nAvgBytesPerSec = wave->nBlockAlign * wave->nSamplesPerSec;
    wave->cbSize = 0;
    mt->SetSampleSize(wave->nBlockAlign);
    return S_OK;
}

HRESULT CHarvoAudioDecoder::SetMediaType(PIN_DIRECTION direction, const CMediaType* mt)
{
    if (direction == PINDIR_OUTPUT) {
        if (*mt->FormatType() == FORMAT_WaveFormatEx && mt->Format() && mt->FormatLength() >= sizeof(WAVEFORMATEX)) {
            const WAVEFORMATEX* wave = reinterpret_cast<const WAVEFORMATEX*>(mt->Format());
            m_connectedChannels = wave->nChannels;
            m_connectedSampleRate = wave->nSamplesPerSec;
        }
        return S_OK;
    }
    CAutoLock lock(&m_decoderLock);
    const StreamKind kind = KindOf(mt);
    if (!m_pump.SetStreamKind(kind) || kind == StreamKind::kNone)
        return E_FAIL;
    return S_OK;
}

HRESULT CHarvoAudioDecoder::BreakConnect(PIN_DIRECTION direction)
{
    if (direction == PINDIR_INPUT) {
        CAutoLock lock(&m_decoderLock);
        m_pump.SetStreamKind(StreamKind::kNone);
    }
    return S_OK;
}

HRESULT CHarvoAudioDecoder::CompleteConnect(PIN_DIRECTION, IPin*)
{
    CAutoLock lock(&m_decoderLock);
    m_timeline.Restart();
    return S_OK;
}

HRESULT CHarvoAudioDecoder::BeginFlush()
{
    HRESULT hr = CTransformFilter::BeginFlush();
    if (SUCCEEDED(hr)) {
        CAutoLock lock(&m_decoderLock);
        m_pump.Reset();
    }
    return hr;
}

HRESULT CHarvoAudioDecoder::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    {
        CAutoLock lock(&m_decoderLock);
        if (m_pump.HasDecoder()) {
            m_pump.Reset();
            m_timeline.SetRate(rate);
            m_timeline.Restart();
        }
    }
    return CTransformFilter::NewSegment(start, stop, rate);
}

HRESULT CHarvoAudioDecoder::Receive(IMediaSample* sample)
{
    if (IsStopped())
        return S_OK;
    BYTE* data = nullptr;
    const LONG length = sample->GetActualDataLength();
    if (length <= 0 || FAILED(sample->GetPointer(&data)) || !data)
        return S_OK;
    REFERENCE_TIME start = 0, stop = 0;
    const HRESULT times = sample->GetTime(&start, &stop);
    {
        CAutoLock lock(&m_decoderLock);
        const bool discontinuity = sample->IsDiscontinuity() == S_OK;
        if (discontinuity)
            m_pump.Reset();
        m_timeline.OnInput(discontinuity, SUCCEEDED(times), times == S_OK, start);
        if (!m_pump.HasDecoder())
            return S_OK;
        m_pump.Append(data, length); // a sample that does not fit is lost; the stream goes on
    }
    return DecodeLoop();
}

HRESULT CHarvoAudioDecoder::DecodeLoop()
{
    for (;;) {
        CAutoLock lock(&m_decoderLock);
        if (!m_pump.DecodeNext())
            return S_OK;
        HRESULT hr = DeliverFrame();
        if (FAILED(hr))
            return hr;
    }
}

HRESULT CHarvoAudioDecoder::DeliverFrame()
{
    if (IsStopped() || !m_pump.FrameReady())
        return S_OK;
    const audio::AudioFrameDecoder* decoder = m_pump.Decoder();
    const uint32_t channels = decoder->GetOutputFormat()->channels;
    const uint32_t sampleRate = decoder->GetStreamInfo()->sampleRate;
    if (channels != m_connectedChannels || sampleRate != m_connectedSampleRate) {
        if (FAILED(ReconnectOutput()))
            return E_FAIL;
    }
    IMediaSample* sample = nullptr;
    HRESULT hr = GetFormatFollowingSample(&sample);
    if (FAILED(hr))
        return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const LONG size = sample->GetSize();
    const int32_t count = m_pump.OutputFrame(data, size > 0 ? static_cast<size_t>(size) : 0);
    if (count == 0) {
        sample->Release();
        return S_OK;
    }
    // The length follows the format the mixer wrote, whatever the connection says.
    sample->SetActualDataLength(static_cast<LONG>(count) * static_cast<LONG>(channels) * 2);
    REFERENCE_TIME start = 0, stop = 0;
    m_timeline.Advance(count, sampleRate, start, stop);
    sample->SetTime(&start, &stop);
    hr = m_pOutput->Deliver(sample);
    sample->Release();
    return hr;
}

HRESULT CHarvoAudioDecoder::ReconnectOutput()
{
    if (!m_pOutput->IsConnected())
        return S_OK;
    CMediaType type;
    HRESULT hr = GetMediaType(0, &type);
    if (hr != S_OK)
        return FAILED(hr) ? hr : E_FAIL;
    IPin* downstream = m_pOutput->GetConnected();
    // Only an error refuses the format. S_FALSE is what a renderer that takes a new format only
    // from a sample says while it runs: the format rides on the next sample's type.
    hr = downstream->QueryAccept(&type);
    if (FAILED(hr))
        return hr;
    // Most renderers refuse this while connected and take the new format from the sample's type
    // instead; what they say here does not decide anything.
    downstream->ReceiveConnection(m_pOutput, &type);
    IMediaSample* sample = nullptr;
    hr = GetFormatFollowingSample(&sample);
    if (FAILED(hr))
        return hr;
    m_pOutput->dshow::CBasePin::SetMediaType(&type);
    hr = m_audioOutput->SetPendingType(type);
    sample->Release();
    return hr;
}

} // namespace audiofilter
