#include "media/filters/mpeg2video/win/CMpeg2VideoDecoder.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "dshow/CAutoLock.h"
#include "dshow/CTransformInputPin.h"
#include "dshow/CTransformOutputPin.h"
#include "dshow/VideoTypes.h"
#include "media/filters/mpeg2video/InputFormat.h"
#include "media/filters/mpeg2video/win/CDecoderCpuAccount.h"
#include "media/filters/mpeg2video/win/LogoOverlayLoader.h"

namespace mpeg2videofilter {

using dshow::CAutoLock;
using dshow::CMediaType;
using mpeg2video::PictureBuffer;

const CLSID CLSID_Mpeg2VideoDecoder = {0x049bde11, 0x1e69, 0x4953, {0xb2, 0x0e, 0xbd, 0x28, 0xa5, 0xdd, 0x7f, 0x0d}};

static_assert(offsetof(MPEG2VIDEOINFO, cbSequenceHeader) == kCbSequenceHeaderOffset, "MPEG2VIDEOINFO layout");
static_assert(offsetof(MPEG2VIDEOINFO, dwProfile) == kProfileOffset, "MPEG2VIDEOINFO layout");
static_assert(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) == kMpeg2VideoInfoHeaderBytes, "MPEG2VIDEOINFO layout");
static_assert(sizeof(VIDEOINFOHEADER2) == 112, "VIDEOINFOHEADER2 layout");

namespace {

constexpr uint8_t kIPicture = 1;
constexpr uint32_t kYuy2FourCC = MAKEFOURCC('Y', 'U', 'Y', '2');

} // namespace

CMpeg2VideoDecoder::CMpeg2VideoDecoder(REFCLSID clsid, IUnknown* owner)
    : CTransformFilter(L"Mpeg2 Decoder", owner, clsid)
{
    const HMODULE module = CurrentModule();
    m_smallLogo = LoadLogoOverlay(module, kSmallLogoResource);
    m_largeLogo = LoadLogoOverlay(module, kLargeLogoResource);
}

CMpeg2VideoDecoder::~CMpeg2VideoDecoder()
{
    if (m_core)
        mpeg2video::DestroyDecoder(m_core);
}

HRESULT CMpeg2VideoDecoder::CheckInputType(const CMediaType* in)
{
    if (*in->Type() != MEDIATYPE_Video || *in->Subtype() != dshow::kSubtypeMpeg2Video ||
        *in->FormatType() != dshow::kFormatMpeg2Video || !in->Format())
        return E_FAIL;
    // Only checked here; the values are taken when the connection is made (SetMediaType).
    InputFormat format;
    return ParseInputFormat(in->Format(), in->FormatLength(), &format) == 0 ? S_OK : E_FAIL;
}

void CMpeg2VideoDecoder::TakeSequence(uint32_t width, uint32_t height, uint32_t aspect, double frameRate,
                                      double bitRate)
{
    m_width = width;
    m_height = height;
    m_aspect = aspect;
    // frame_rate_code 0 and the reserved codes give no rate: the last good one stays.
    if (frameRate > 0.1)
        m_frameRate = frameRate;
    m_bitRate = bitRate;
    m_frameDuration = static_cast<REFERENCE_TIME>(10000000.0 / m_frameRate);
    m_doubleRate = width < 1440 && m_doubleRateAllowed;
}

HRESULT CMpeg2VideoDecoder::SetMediaType(PIN_DIRECTION direction, const CMediaType* mt)
{
    if (direction == PINDIR_INPUT) {
        InputFormat format;
        if (ParseInputFormat(mt->Format(), mt->FormatLength(), &format) != 0)
            return E_FAIL;
        CAutoLock lock(&m_decoderLock);
        TakeSequence(format.width, format.height, format.aspectRatioInformation, format.frameRate, format.bitRate);
        m_sequenceHeader.assign(format.sequenceHeader, format.sequenceHeader + format.sequenceHeaderBytes);
        return S_OK;
    }
    const BITMAPINFOHEADER* bmi = nullptr;
    if (*mt->FormatType() == FORMAT_VideoInfo2 && mt->Format() && mt->FormatLength() >= sizeof(VIDEOINFOHEADER2))
        bmi = &reinterpret_cast<const VIDEOINFOHEADER2*>(mt->Format())->bmiHeader;
    else if (*mt->FormatType() == FORMAT_VideoInfo && mt->Format() && mt->FormatLength() >= sizeof(VIDEOINFOHEADER))
        bmi = &reinterpret_cast<const VIDEOINFOHEADER*>(mt->Format())->bmiHeader;
    if (!bmi)
        return E_FAIL;
    OutputFormat format;
    if (*mt->Subtype() == MEDIASUBTYPE_YUY2 && bmi->biBitCount == 16)
        format = OutputFormat::kYUY2;
    else if (*mt->Subtype() == MEDIASUBTYPE_RGB32 && bmi->biBitCount == 32)
        format = OutputFormat::kRGB32;
    else
        return E_FAIL;
    CAutoLock lock(&m_decoderLock);
    const int64_t rows = bmi->biHeight < 0 ? -int64_t(bmi->biHeight) : int64_t(bmi->biHeight);
    if (bmi->biWidth < 0 || uint32_t(bmi->biWidth) < m_width || rows < m_height)
        return E_FAIL;
    const int64_t stride = int64_t(bmi->biBitCount) * bmi->biWidth / 8;
    if (stride * rows > 0x7FFFFFFF)
        return E_FAIL;
    m_outputFormat = format;
    m_outputStride = uint32_t(stride);
    m_outputRows = uint32_t(rows);
    m_outputBottomUp = bmi->biHeight > 0;
    m_outputImageSize = bmi->biSizeImage;
    return S_OK;
}

HRESULT CMpeg2VideoDecoder::GetMediaType(int position, CMediaType* mt)
{
    if (position < 0)
        return E_INVALIDARG;
    if (!m_pInput || !m_pInput->IsConnected() || position > 1)
        return VFW_S_NO_MORE_ITEMS;
    CAutoLock lock(&m_decoderLock);
    mt->InitMediaType();
    mt->SetType(&MEDIATYPE_Video);
    mt->SetSubtype(position == 0 ? &MEDIASUBTYPE_YUY2 : &MEDIASUBTYPE_RGB32);
    mt->SetFormatType(&FORMAT_VideoInfo2);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER2*>(mt->AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
    if (!vih)
        return E_OUTOFMEMORY;
    std::memset(vih, 0, sizeof(*vih));
    SetRect(&vih->rcSource, 0, 0, LONG(m_width), LONG(m_height));
    vih->rcTarget = vih->rcSource;
    vih->dwBitRate = DWORD(m_bitRate);
    vih->AvgTimePerFrame = REFERENCE_TIME(std::ceil(10000000.0 / m_frameRate));
    m_frameDuration = vih->AvgTimePerFrame;
    DWORD x = m_width, y = m_height;
    if (m_core && m_aspect != 1) {
        switch (m_aspect) {
        case 0: x = 0, y = 0; break;
        case 2: x = 4, y = 3; break;
        case 3: x = 16, y = 9; break;
        case 4: x = 221, y = 100; break;
        default: x = 1, y = 1; break;
        }
    }
    vih->dwPictAspectRatioX = x;
    vih->dwPictAspectRatioY = y;
    BITMAPINFOHEADER& bmi = vih->bmiHeader;
    bmi.biSize = sizeof(BITMAPINFOHEADER);
    bmi.biWidth = LONG((m_width + 15) & ~15u);
    bmi.biHeight = LONG(m_height);
    bmi.biPlanes = 1;
    bmi.biBitCount = position == 0 ? 16 : 32;
    bmi.biCompression = position == 0 ? kYuy2FourCC : BI_RGB;
    bmi.biSizeImage = DWORD(uint64_t(bmi.biWidth) * bmi.biHeight * bmi.biBitCount / 8);
    mt->SetSampleSize(bmi.biSizeImage);
    mt->SetTemporalCompression(FALSE);
    return S_OK;
}

HRESULT CMpeg2VideoDecoder::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    LONG size;
    {
        CAutoLock lock(&m_decoderLock);
        const uint64_t needed = uint64_t(m_outputStride) * m_outputRows;
        size = LONG(m_outputImageSize >= needed ? m_outputImageSize : needed);
    }
    request->cBuffers = 1;
    request->cbBuffer = size;
    request->cbAlign = 1;
    request->cbPrefix = 0;
    ALLOCATOR_PROPERTIES actual = {};
    HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    if (actual.cBuffers < 1 || actual.cbBuffer < size || actual.cbAlign < 1)
        return E_FAIL;
    return S_OK;
}

void CMpeg2VideoDecoder::ResetStream(bool appendSequenceHeader)
{
    m_times.Clear();
    m_previous = nullptr;
    m_waitForI = true;
    m_discontinuity = true;
    m_takeNextTime = true;
    m_runningTime = 0;
    if (!m_core)
        return;
    mpeg2video::ResetInput(m_core);
    mpeg2video::ClearOutputQueue(m_core);
    if (appendSequenceHeader && !m_sequenceHeader.empty())
        mpeg2video::AppendInput(m_core, m_sequenceHeader.data(), m_sequenceHeader.size());
}

HRESULT CMpeg2VideoDecoder::CompleteConnect(PIN_DIRECTION direction, IPin* receivePin)
{
    if (direction != PINDIR_INPUT)
        return S_OK;
    CAutoLock lock(&m_decoderLock);
    if (!m_core && mpeg2video::CreateDecoder(&m_core) != 0) {
        m_core = nullptr;
        return E_FAIL;
    }
    m_rate = 1.0;
    ResetStream(false);
    return S_OK;
}

HRESULT CMpeg2VideoDecoder::BreakConnect(PIN_DIRECTION direction)
{
    if (direction != PINDIR_INPUT)
        return S_OK;
    // Output types follow from the input: the output connection goes with it.
    if (m_pOutput && m_pOutput->IsConnected()) {
        if (IFilterGraph* graph = GetFilterGraph()) {
            graph->Disconnect(m_pOutput->GetConnected());
            graph->Disconnect(m_pOutput);
        }
    }
    CAutoLock lock(&m_decoderLock);
    m_times.Clear();
    if (m_core)
        mpeg2video::DestroyDecoder(m_core);
    m_core = nullptr;
    m_previous = nullptr;
    m_sequenceHeader.clear();
    return S_OK;
}

int8_t CMpeg2VideoDecoder::SkipLevelFor(double rate)
{
    if (rate > 6.0)
        return 1; // I pictures only
    if (rate > 3.0)
        return 2; // I and P pictures
    return 10;
}

HRESULT CMpeg2VideoDecoder::StartStreaming()
{
    CAutoLock lock(&m_decoderLock);
    if (m_core) {
        ResetStream(false);
        m_core->skipLevel = SkipLevelFor(m_rate);
    }
    return S_OK;
}

HRESULT CMpeg2VideoDecoder::BeginFlush()
{
    m_flushing.Set();
    HRESULT hr = CTransformFilter::BeginFlush();
    CAutoLock lock(&m_decoderLock);
    m_times.Clear();
    if (m_core) {
        mpeg2video::ResetInput(m_core);
        mpeg2video::ClearOutputQueue(m_core);
    }
    m_previous = nullptr;
    return hr;
}

HRESULT CMpeg2VideoDecoder::EndFlush()
{
    m_flushing.Reset();
    return CTransformFilter::EndFlush();
}

HRESULT CMpeg2VideoDecoder::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    {
        CAutoLock lock(&m_decoderLock);
        if (m_core) {
            ResetStream(true);
            m_core->skipLevel = SkipLevelFor(rate);
            m_rate = rate;
        }
    }
    return CTransformFilter::NewSegment(start, stop, rate);
}

CMpeg2VideoDecoder::CReceiveAccount::CReceiveAccount(CMpeg2VideoDecoder* filter) : m_filter(filter)
{
    filter->m_accounting = CDecoderCpuAccount::Enabled();
    if (filter->m_accounting) {
        m_start = CDecoderCpuAccount::Now();
        filter->m_account = DecoderCpuTimes();
    }
}

CMpeg2VideoDecoder::CReceiveAccount::~CReceiveAccount()
{
    CMpeg2VideoDecoder* f = m_filter;
    if (!f->m_accounting)
        return;
    // Delivery runs the renderer on this thread: its share is the presentation's, not ours.
    f->m_account.decode = CDecoderCpuAccount::Now() - m_start - f->m_account.convert - f->m_account.deliver;
    CDecoderCpuAccount::Add(f->m_account);
    f->m_accounting = false;
}

HRESULT CMpeg2VideoDecoder::Receive(IMediaSample* sample)
{
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return E_POINTER;
    const LONG length = sample->GetActualDataLength();
    if (length <= 0)
        return S_OK;
    CAutoLock lock(&m_decoderLock);
    if (!m_core)
        return S_OK;
    CReceiveAccount account(this);
    REFERENCE_TIME start = 0, stop = 0;
    if (sample->GetTime(&start, &stop) == S_OK) {
        if (m_takeNextTime) {
            m_runningTime = start;
            m_takeNextTime = false;
        }
        m_times.Insert(start);
    }
    if (sample->IsDiscontinuity() == S_OK) {
        mpeg2video::ResetInput(m_core);
        mpeg2video::ClearOutputQueue(m_core);
        if (!m_sequenceHeader.empty())
            mpeg2video::AppendInput(m_core, m_sequenceHeader.data(), m_sequenceHeader.size());
        m_waitForI = true;
        m_discontinuity = true;
        m_previous = nullptr;
    }
    mpeg2video::AppendInput(m_core, data, size_t(length)); // a chunk that does not fit is dropped
    return DecodeLoop();
}

HRESULT CMpeg2VideoDecoder::EndOfStream()
{
    {
        // The pictures still buffered or queued in the core belong to the stream: deliver them first.
        CAutoLock lock(&m_decoderLock);
        if (m_core) {
            mpeg2video::SetDrain(m_core);
            HRESULT hr = DecodeLoop();
            if (SUCCEEDED(hr))
                OutputQueued(true);
            mpeg2video::ResetInput(m_core);
        }
    }
    return CTransformFilter::EndOfStream();
}

HRESULT CMpeg2VideoDecoder::DecodeLoop()
{
    // A picture is decoded as soon as its end is in (the core waits for the start code behind it),
    // never after a VBV buffer's worth of input: on a low-rate stream that took seconds.
    for (;;) {
        const int step = mpeg2video::DecodeStep(m_core);
        switch (step) {
        case mpeg2video::kStepPicture: {
            mpeg2video::DecodeSlices(m_core);
            HRESULT hr = OutputQueued(false);
            if (FAILED(hr))
                return hr;
            if (m_flushing.Check())
                return S_OK;
            break;
        }
        case mpeg2video::kStepSequenceHeader: {
            if (m_core->horizontal_size != m_core->savedHorizontalSize ||
                m_core->vertical_size != m_core->savedVerticalSize) {
                HRESULT hr = OutputQueued(true);
                if (FAILED(hr))
                    return hr;
            }
            if (mpeg2video::AllocatePictureBuffers(m_core)) {
                m_discontinuity = true;
                TakeSequence(m_core->horizontal_size, m_core->vertical_size, m_core->aspect_ratio_information,
                             m_core->frameRate, m_core->bitRate);
                mpeg2video::ClearOutputQueue(m_core);
                m_previous = nullptr;
                HRESULT hr = ReconnectOutput(m_width, m_height);
                if (FAILED(hr)) {
                    NotifyEvent(EC_ERRORABORT, hr, 0);
                    return E_FAIL;
                }
            }
            break;
        }
        case mpeg2video::kStepWait:
        case mpeg2video::kStepEmpty:
            return S_OK;
        default:
            break;
        }
    }
}

HRESULT CMpeg2VideoDecoder::OutputQueued(bool all)
{
    for (;;) {
        PictureBuffer* picture = all ? mpeg2video::PopOutputPicture(m_core) : mpeg2video::PopOutputPictureWhenFull(m_core);
        if (!picture)
            return S_OK;
        HRESULT hr = OutputPicture(picture);
        if (FAILED(hr))
            return hr;
        if (!all)
            return S_OK;
    }
}

HRESULT CMpeg2VideoDecoder::OutputPicture(PictureBuffer* picture)
{
    if (m_waitForI && picture->pictureCodingType != kIPicture) {
        REFERENCE_TIME head;
        if (m_times.PopFront(&head))
            m_runningTime = head;
        else
            m_runningTime += m_frameDuration;
        return S_OK;
    }
    m_waitForI = false;
    if (picture->pictureCodingType > m_core->skipLevel) {
        // Not shown, but its time is used up like a shown picture's.
        REFERENCE_TIME head;
        if (m_times.PopFront(&head))
            m_runningTime = head;
        m_runningTime += m_frameDuration;
        return S_OK;
    }
    return DeliverPicture(picture);
}

HRESULT CMpeg2VideoDecoder::ConvertInto(IMediaSample* sample, const PictureBuffer& a, const PictureBuffer& b)
{
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return E_POINTER;
    OutputBuffer out;
    out.data = data;
    out.size = size_t(sample->GetSize() > 0 ? sample->GetSize() : 0);
    out.stride = m_outputStride;
    out.rows = m_outputRows;
    out.rgbBottomUp = m_outputBottomUp;
    // A sample too small for the frame is not filled (the buffer size of a format may be 0).
    if (ConvertPicture(a, b, m_width, m_height, m_outputFormat, out, m_core->processor.capabilities) != 0)
        return S_FALSE;
    BlendLogo(m_width <= kSmallLogoMaxWidth ? m_smallLogo : m_largeLogo, m_outputFormat, out, m_width, m_height);
    sample->SetActualDataLength(LONG(size_t(m_outputStride) * m_outputRows <= out.size
                                         ? size_t(m_outputStride) * m_outputRows
                                         : out.size));
    return S_OK;
}

HRESULT CMpeg2VideoDecoder::DeliverPicture(PictureBuffer* picture)
{
    REFERENCE_TIME head;
    if (m_times.PopFront(&head))
        m_runningTime = head;
    if (!m_pOutput || !m_pOutput->IsConnected())
        return S_OK;
    const BOOL sync = picture->pictureCodingType == kIPicture;
    const REFERENCE_TIME first = m_runningTime;
    const REFERENCE_TIME half = m_frameDuration / 2;
    const int count = m_doubleRate ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        IMediaSample* sample = nullptr;
        HRESULT hr = GetFormatFollowingSample(&sample);
        if (FAILED(hr))
            return hr;
        REFERENCE_TIME start, stop;
        const PictureBuffer* a = picture;
        if (!m_doubleRate) {
            start = first;
            stop = first + m_frameDuration;
        } else if (i == 0) {
            start = first;
            stop = first + half;
            if (m_previous)
                a = m_previous;
        } else {
            start = first + half;
            stop = first + m_frameDuration;
        }
        sample->SetSyncPoint(sync);
        sample->SetDiscontinuity(i == 0 && m_discontinuity);
        if (i == 0)
            m_discontinuity = false;
        sample->SetTime(&start, &stop);
        sample->SetMediaTime(&start, &stop);
        DecoderTime mark = m_accounting ? CDecoderCpuAccount::Now() : DecoderTime();
        hr = ConvertInto(sample, *a, *picture);
        if (m_accounting) {
            const DecoderTime now = CDecoderCpuAccount::Now();
            m_account.convert += now - mark;
            ++m_account.samples;
            mark = now;
        }
        if (hr == S_OK)
            hr = m_pOutput->Deliver(sample);
        else
            hr = S_OK; // a sample that cannot hold the frame is dropped
        if (m_accounting)
            m_account.deliver += CDecoderCpuAccount::Now() - mark;
        sample->Release();
        if (i == 0 && m_doubleRate)
            m_previous = picture;
        if (FAILED(hr))
            return hr;
    }
    m_runningTime = first + m_frameDuration;
    return S_OK;
}

HRESULT CMpeg2VideoDecoder::ReconnectOutput(uint32_t width, uint32_t height)
{
    m_width = width;
    m_height = height;
    if (!m_pOutput || !m_pOutput->IsConnected())
        return S_OK;
    IPin* peer = m_pOutput->GetConnected();
    bool reconnected = false;
    // The connected subtype first (the graph chose it), then the filter's own order.
    const int current = m_pOutput->CurrentMediaType().subtype == MEDIASUBTYPE_RGB32 ? 1 : 0;
    for (int attempt = 0; attempt < 3 && !reconnected; ++attempt) {
        const int position = attempt == 0 ? current : attempt - 1;
        if (attempt > 0 && position == current)
            continue;
        CMediaType type;
        if (GetMediaType(position, &type) != S_OK)
            continue;
        if (peer->QueryAccept(&type) == S_OK && SUCCEEDED(peer->ReceiveConnection(m_pOutput, &type))) {
            reconnected = true;
            m_pOutput->SetMediaType(&type);
        }
    }
    // The first sample after a change carries the type downstream settled on.
    IMediaSample* sample = nullptr;
    HRESULT hr = GetFormatFollowingSample(&sample);
    if (sample)
        sample->Release();
    if (FAILED(hr))
        return hr;
    // Without a new type the old one must still hold the picture.
    if (m_outputStride < RowBytes(m_outputFormat, width) || m_outputRows < height)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

} // namespace mpeg2videofilter
