#include "media/filters/mpegdemux/win/CMPEGDemuxPin.h"

#include <cstring>

#include <dvdmedia.h>
#include <mmreg.h>

#include "dshow/CAutoLock.h"

namespace mpegdemux {

namespace {

// ISO/IEC 13818-2 sequence header (720 x 576, 4:3, 25 Hz, 15 Mbit/s, main profile at main level),
// sequence extension, sequence display extension and the start of a GOP header, cut at 40 bytes.
const BYTE kSequenceHeader[40] = {0x00, 0x00, 0x01, 0xB3, 0x2D, 0x02, 0x40, 0x23, 0x24, 0x9F, 0x23, 0x80, 0x00, 0x00,
                                  0x01, 0xB5, 0x14, 0x82, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0xB5, 0x21, 0x05,
                                  0x05, 0x05, 0x0B, 0x42, 0x12, 0x00, 0x00, 0x00, 0x01, 0xB8, 0x39, 0x6E};
constexpr ULONG kVideoFormatSize = FIELD_OFFSET(MPEG2VIDEOINFO, dwSequenceHeader) + sizeof(kSequenceHeader) + 4;
static_assert(kVideoFormatSize == 176, "MPEG2VIDEOINFO with a 40-byte sequence header");

void BuildVideoType(dshow::CMediaType* mt)
{
    mt->SetType(&MEDIATYPE_Video);
    mt->SetSubtype(&MEDIASUBTYPE_MPEG2_VIDEO);
    mt->SetFormatType(&FORMAT_MPEG2Video);
    BYTE* format = mt->AllocFormatBuffer(kVideoFormatSize);
    if (!format)
        return;
    auto* info = reinterpret_cast<MPEG2VIDEOINFO*>(format);
    info->hdr.rcSource = {0, 0, 720, 576};
    info->hdr.rcTarget = {0, 0, 720, 576};
    info->hdr.dwBitRate = 4000000;
    info->hdr.AvgTimePerFrame = 400000; // 25 frames per second
    info->hdr.dwInterlaceFlags = AMINTERLACE_IsInterlaced;
    info->hdr.dwPictAspectRatioX = 4;
    info->hdr.dwPictAspectRatioY = 3;
    info->hdr.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->hdr.bmiHeader.biWidth = 720;
    info->hdr.bmiHeader.biHeight = 576;
    info->cbSequenceHeader = sizeof(kSequenceHeader);
    info->dwProfile = 2; // AM_MPEG2Profile_Main
    info->dwLevel = 2;   // AM_MPEG2Level_Main
    std::memcpy(info->dwSequenceHeader, kSequenceHeader, sizeof(kSequenceHeader));
}

void BuildMpegAudioType(dshow::CMediaType* mt)
{
    mt->SetType(&MEDIATYPE_Audio);
    mt->SetSubtype(&MEDIASUBTYPE_MPEG1Payload);
    mt->SetFormatType(&FORMAT_WaveFormatEx);
    BYTE* format = mt->AllocFormatBuffer(sizeof(MPEG1WAVEFORMAT));
    if (!format)
        return;
    auto* wave = reinterpret_cast<MPEG1WAVEFORMAT*>(format);
    wave->wfx.wFormatTag = WAVE_FORMAT_MPEG;
    wave->wfx.nChannels = 2;
    wave->wfx.nSamplesPerSec = 48000;
    wave->wfx.nAvgBytesPerSec = 24000;
    wave->wfx.nBlockAlign = 576;
    wave->wfx.wBitsPerSample = 0;
    wave->wfx.cbSize = sizeof(MPEG1WAVEFORMAT) - sizeof(WAVEFORMATEX);
    wave->fwHeadLayer = ACM_MPEG_LAYER2;
    wave->dwHeadBitrate = 192000;
    wave->fwHeadMode = ACM_MPEG_DUALCHANNEL;
    wave->fwHeadModeExt = 0x0100;
    wave->wHeadEmphasis = 1;
    wave->fwHeadFlags = ACM_MPEG_PRIVATEBIT | ACM_MPEG_COPYRIGHT | ACM_MPEG_ORIGINALHOME | ACM_MPEG_ID_MPEG1;
}

} // namespace

CMPEGDemuxPin::CMPEGDemuxPin(CBasePushDemux* filter, HRESULT* result, const wchar_t* name, int kind, LONG queueLimit)
    : CBaseDemuxOutputPin(filter, result, name, kind, queueLimit)
{
    BuildMediaType(kind, m_audioKind, &m_offered);
}

void CMPEGDemuxPin::BuildMediaType(int kind, int audioKind, dshow::CMediaType* mt)
{
    mt->InitMediaType();
    if (kind == kVideo) {
        BuildVideoType(mt);
    } else if (audioKind == kMpegAudio) {
        BuildMpegAudioType(mt);
    } else {
        // The audio decoder looks at major type and subtype only.
        mt->SetType(&MEDIATYPE_Audio);
        mt->SetSubtype(&MEDIASUBTYPE_DOLBY_AC3);
        mt->SetFormatType(&FORMAT_None);
    }
}

HRESULT CMPEGDemuxPin::CheckMediaType(const dshow::CMediaType* mt)
{
    return *mt == m_offered ? S_OK : E_FAIL;
}

HRESULT CMPEGDemuxPin::GetMediaType(int position, dshow::CMediaType* mt)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *mt = m_offered;
    return S_OK;
}

void CMPEGDemuxPin::SetAudioKind(int audioKind)
{
    // What is queued is of the old kind; the time line goes on.
    DiscardQueue();
    {
        dshow::CAutoLock lock(m_lock);
        m_audioKind = audioKind;
        BuildMediaType(Kind(), audioKind, &m_offered);
    }
    ReconnectDownstream();
}

HRESULT CMPEGDemuxPin::ReconnectDownstream()
{
    dshow::CMediaType type;
    GetMediaType(0, &type);
    IPin* connected = GetConnected();
    if (!connected)
        return E_FAIL;
    // S_FALSE is a refusal as much as a failure: the old connection stays.
    if (connected->QueryAccept(&type) != S_OK)
        return S_FALSE;
    HRESULT hr = connected->ReceiveConnection(static_cast<IPin*>(this), &type);
    if (hr != S_OK && hr != VFW_E_ALREADY_CONNECTED && hr != VFW_E_NOT_STOPPED)
        return hr;
    // A connected pin takes a new format with the next sample (the dynamic change of a running
    // graph) when it does not reconnect.
    {
        dshow::CAutoLock lock(m_lock);
        SetMediaType(&type);
    }
    MarkTypeChange(type);
    return S_OK;
}

} // namespace mpegdemux
