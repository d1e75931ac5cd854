// Arbitrary input through the teletext decoder, with the page on screen and an overlay page set so
// that completions are reported, and every query walked over the store afterwards.
#include <cstddef>
#include <cstdint>

#include "FuzzPes.h"
#include "dvb/libDVB/teletext/CTeletextDecoder.h"

namespace {

struct Reader : libDVB::CTeletextDecoder::CTeletextDecoderCallback {
    uint64_t sum = 0;
    HRESULT OnTeletextPage(libDVB::CTeletextDecoder* decoder, uint32_t key, bool, bool drop) override
    {
        // The renderer reads the page again under the same (re-entrant) lock.
        auto copy = decoder->GetPageCopy(libDVB::TeletextKeyPage(key), drop ? 0 : libDVB::TeletextKeySubPage(key),
                                         nullptr, nullptr, true, nullptr);
        if (copy)
            for (uint8_t c : copy->cells)
                sum += c;
        return S_OK;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One decoder for the whole run (its PES buffer is large); Reset forgets every page of the
    // last input.
    static Reader reader;
    static libDVB::CTeletextDecoder decoder(&reader);
    decoder.Start();
    decoder.Reset();
    decoder.SetViewState(true, size > 0 && (data[0] & 2), 888);
    decoder.SetPageOnScreen(100);
    fuzz::ForEachPacket(data, size, [&](const uint8_t* packet) { decoder.OnTeletextPacket(packet, 188); });

    for (uint32_t page = 100; page < 900; ++page) {
        const int32_t first = decoder.GetFirstSubPage(static_cast<uint16_t>(page));
        if (first < 0)
            continue;
        bool newsflash, subtitle;
        uint8_t national;
        auto copy = decoder.GetPageCopy(static_cast<uint16_t>(page), static_cast<uint16_t>(first), &newsflash,
                                        &subtitle, false, &national);
        if (copy)
            reader.sum += copy->linkedPages.size() + copy->row24;
        reader.sum += decoder.GetPreviousPage() + decoder.GetNextPage();
    }
    return 0;
}
