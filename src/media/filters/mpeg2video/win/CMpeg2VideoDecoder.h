// The DirectShow transform filter "Mpeg2 Decoder": MPEG-2 video elementary stream in, YUY2 or RGB32
// frames out. It decodes on the thread that delivers the input (the demultiplexer's), puts the
// input's presentation times back into display order, converts each picture straight from the
// core's buffers into the output sample, blends the logo in, and at double frame rate makes two
// frames per picture (the second field's blend with the previous picture, then the picture alone).
#pragma once

#include <vector>

#include "dshow/CAMEvent.h"
#include "dshow/CTransformFilter.h"
#include "media/filters/mpeg2video/CTimeList.h"
#include "media/filters/mpeg2video/ConvertPicture.h"
#include "media/filters/mpeg2video/LogoOverlay.h"
#include "media/filters/mpeg2video/win/CDecoderCpuAccount.h"
#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2videofilter {

// {049BDE11-1E69-4953-B20E-BD28A5DD7F0D}
extern const CLSID CLSID_Mpeg2VideoDecoder;

class CMpeg2VideoDecoder : public dshow::CTransformFilter {
public:
    explicit CMpeg2VideoDecoder(REFCLSID clsid = CLSID_Mpeg2VideoDecoder, IUnknown* owner = nullptr);
    ~CMpeg2VideoDecoder() override;

    HRESULT CheckInputType(const dshow::CMediaType* in) override;
    HRESULT CheckTransform(const dshow::CMediaType* in, const dshow::CMediaType* out) override { return S_OK; }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override;
    HRESULT StartStreaming() override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const dshow::CMediaType* mt) override;
    HRESULT BreakConnect(PIN_DIRECTION direction) override;
    HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    virtual HRESULT DeliverPicture(mpeg2video::PictureBuffer* picture);

    // The viewer's "DoubleFramerate" setting, given by the creator right after construction.
    void SetDoubleRateAllowed(bool allowed) { m_doubleRateAllowed = allowed; }
    // What the filter currently works with (tests).
    uint32_t PictureWidth() const { return m_width; }
    uint32_t PictureHeight() const { return m_height; }
    bool DoubleRate() const { return m_doubleRate; }
    REFERENCE_TIME FrameDuration() const { return m_frameDuration; }

private:
    // Sequence values a connection or a sequence header brings.
    void TakeSequence(uint32_t width, uint32_t height, uint32_t aspect, double frameRate, double bitRate);
    void ResetStream(bool appendSequenceHeader);
    HRESULT DecodeLoop();
    // One picture leaving the core: dropped while waiting for an I picture, skipped above the
    // skip level, otherwise delivered; each takes one time of the list.
    HRESULT OutputPicture(mpeg2video::PictureBuffer* picture);
    HRESULT OutputQueued(bool all);
    HRESULT ConvertInto(IMediaSample* sample, const mpeg2video::PictureBuffer& a, const mpeg2video::PictureBuffer& b);
    HRESULT ReconnectOutput(uint32_t width, uint32_t height);
    static int8_t SkipLevelFor(double rate);

    // Adds one input call's decoding and conversion time to the process's account when it is on.
    class CReceiveAccount {
    public:
        explicit CReceiveAccount(CMpeg2VideoDecoder* filter);
        ~CReceiveAccount();

    private:
        CMpeg2VideoDecoder* m_filter;
        DecoderTime m_start;
    };

    dshow::CCritSec m_decoderLock; // the core and everything below
    uint32_t m_width = 720, m_height = 576, m_aspect = 0;
    uint32_t m_outputStride = 0, m_outputImageSize = 0, m_outputRows = 0;
    OutputFormat m_outputFormat = OutputFormat::kYUY2;
    bool m_outputBottomUp = true;
    double m_frameRate = 25.0, m_bitRate = 1000000.0;
    dshow::CAMEvent m_flushing{true};
    bool m_takeNextTime = true;
    mpeg2video::Mpeg2VideoDecoderCore* m_core = nullptr;
    mpeg2video::PictureBuffer* m_previous = nullptr;
    bool m_waitForI = true, m_discontinuity = true;
    bool m_doubleRate = false, m_doubleRateAllowed = true;
    double m_rate = 1.0;
    REFERENCE_TIME m_runningTime = 0, m_frameDuration = 400000;
    CTimeList m_times;
    bool m_accounting = false; // inside an accounted input call
    DecoderCpuTimes m_account;  // of the input call in progress
    std::vector<uint8_t> m_sequenceHeader; // of the connected input type, appended again after resets
    LogoOverlay m_smallLogo, m_largeLogo;
};

} // namespace mpeg2videofilter
