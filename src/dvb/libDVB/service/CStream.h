// The elementary streams of a service as the PMT lists them.
#pragma once

#include <cstdint>

namespace libDVB {

class CStream {
public:
    enum Kind : uint32_t { kVideo = 1, kAudio = 2, kSubtitle = 3, kTeletext = 4 };

    CStream(uint32_t kind, uint16_t pid) : kind(kind), pid(pid) {}
    virtual ~CStream() = default;

    uint32_t kind;
    uint16_t pid;
};

class CAudioStream : public CStream {
public:
    explicit CAudioStream(uint16_t pid = 0) : CStream(kAudio, pid) {}
    uint8_t language[3] = {0, 0, 0}; // ISO 639-2 letters as the PMT gives them; zero when absent
};

class CSubtitleStream : public CStream {
public:
    explicit CSubtitleStream(uint16_t pid = 0) : CStream(kSubtitle, pid) {}
    uint8_t language[3] = {0, 0, 0};
    uint8_t teletext = 0; // 1: a teletext subtitle page, 0: DVB subtitles
    uint16_t page = 0;    // the teletext page for teletext subtitles
};

class CTeletextStream : public CStream {
public:
    struct Entry {
        uint8_t language[3] = {0, 0, 0};
        uint16_t page = 0;
    };
    explicit CTeletextStream(uint16_t pid = 0) : CStream(kTeletext, pid) {}
    static constexpr unsigned kInitialPage = 1; // teletext_type of the initial page

    // The initial page and its language, which the decoder is given when the stream is chosen.
    uint16_t InitialPage() const { return entries[kInitialPage].page ? entries[kInitialPage].page : 100; }
    const uint8_t* Language() const { return entries[kInitialPage].language; }

    Entry entries[32]; // indexed by teletext_type (ETSI EN 300 468, 6.2.43)
};

} // namespace libDVB
