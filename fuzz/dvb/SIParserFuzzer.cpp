// Arbitrary sections through the SI parser (all nine tables, their bodies and descriptor loops),
// and arbitrary bytes through the descriptor factory and the DVB text conversion.
//
// Input: one flag byte, then sections back to back, each as long as its own section_length says
// (the last one takes what is left). Flag bit 0: put a correct CRC_32 on every section first, so
// that the bodies are reached; bit 1: the whole rest also goes to the descriptor factory; bit 2:
// and to the text conversion; bits 3 to 5 all set: the parser is started (streams for PIDs 0 and 1).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dvb/libDVB/si/CSIParser.h"
#include "dvb/libDVB/si/Crc32.h"
#include "dvb/libDVB/si/DVBText.h"
#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"
#include "dvb/libDVB/si/descriptors/CExtendedEventDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceDescriptor.h"

using namespace libDVB;

namespace {

uint64_t g_sink = 0;

// Each PID the parser takes costs a section stream with a large buffer: a few suffice to reach the
// paths of AddPid (new PIDs and PIDs already served) without slowing every input down.
constexpr size_t kPidLimit = 3;

void Walk(const CDescriptorList& list)
{
    for (const auto& d : list) {
        g_sink += d->GetTag() + d->GetLength();
        if (const auto* s = FindDescriptor<CServiceDescriptor>(list))
            g_sink += s->GetServiceName().size() + s->GetServiceProviderName().size();
        if (const auto* e = FindDescriptor<CExtendedEventDescriptor>(list))
            for (const auto& item : e->GetItems())
                g_sink += item.item_description.size() + item.item.size();
    }
}

// Parses every table it is handed and answers by the section's last byte, so that the version
// bookkeeping sees handled, declined and failed sections.
class COwner : public CSIParser::CSIParserCallback {
public:
    HRESULT OnPAT(CSIParser* parser, const uint8_t* s, uint32_t n, CPATTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n)))
            for (const auto& p : t->GetPrograms())
                if (parser->GetPids().size() < kPidLimit)
                    parser->AddPid(p.second);
        return Answer(s, n);
    }
    HRESULT OnPMT(CSIParser*, const uint8_t* s, uint32_t n, CPMTTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n))) {
            Walk(t->GetProgramDescriptors());
            for (const auto& es : t->GetStreams())
                Walk(es.descriptors);
        }
        return Answer(s, n);
    }
    HRESULT OnCAT(CSIParser*, const uint8_t* s, uint32_t n, CCATTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n)))
            Walk(t->GetDescriptors());
        return Answer(s, n);
    }
    HRESULT OnNIT(CSIParser*, const uint8_t* s, uint32_t n, CNITTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n))) {
            Walk(t->GetNetworkDescriptors());
            for (const auto& ts : t->GetTransportStreams())
                Walk(ts.descriptors);
        }
        return Answer(s, n);
    }
    HRESULT OnBAT(CSIParser*, const uint8_t* s, uint32_t n, CBATTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n))) {
            Walk(t->GetBouquetDescriptors());
            for (const auto& ts : t->GetTransportStreams())
                Walk(ts.descriptors);
        }
        return Answer(s, n);
    }
    HRESULT OnEIT(CSIParser*, const uint8_t* s, uint32_t n, CEITTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n)))
            for (const auto& e : t->GetEvents()) {
                g_sink += static_cast<uint64_t>(e.start + e.duration);
                Walk(e.descriptors);
                g_sink += t->FindEvent(e.event_id) != nullptr;
            }
        return Answer(s, n);
    }
    HRESULT OnSDT(CSIParser*, const uint8_t* s, uint32_t n, CSDTTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n)))
            for (const auto& e : t->GetServices())
                Walk(e.descriptors);
        return Answer(s, n);
    }
    HRESULT OnTDT(CSIParser*, const uint8_t* s, uint32_t n, CTDTTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n)))
            g_sink += static_cast<uint64_t>(t->GetUtcTime());
        return Answer(s, n);
    }
    HRESULT OnTOT(CSIParser*, const uint8_t* s, uint32_t n, CTOTTable* t) override
    {
        if (SUCCEEDED(t->Parse(s, n)))
            Walk(t->GetDescriptors());
        return Answer(s, n);
    }

private:
    static HRESULT Answer(const uint8_t* s, uint32_t n)
    {
        switch (s[n - 1] & 3) {
        case 1: return S_FALSE;
        case 2: return E_FAIL;
        default: return S_OK;
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t flags = data[0];
    const uint8_t* rest = data + 1;
    const size_t restSize = size - 1;

    // The router lives for the whole run; the parser is made for every input (its versions start
    // afresh) and unregisters its streams when it goes. Its start (the PAT and CAT streams) is
    // taken by one input in eight only.
    static CTSDemultiplexer* router = new CTSDemultiplexer;
    static COwner owner;
    CSIParser parser(router, &owner);
    if ((flags & 0x38) == 0x38)
        parser.Start();

    size_t offset = 0;
    while (offset < restSize) {
        size_t length = restSize - offset;
        if (length >= 3) {
            const size_t declared = 3 + (((rest[offset + 1] & 0x0F) << 8) | rest[offset + 2]);
            if (declared < length)
                length = declared;
        }
        // A copy of exactly the section, so ASan sees any read past it.
        std::vector<uint8_t> section(rest + offset, rest + offset + length);
        if ((flags & 1) && length >= 7) {
            const uint32_t crc = Crc32Mpeg(section.data(), length - 4);
            for (int i = 0; i < 4; ++i)
                section[length - 4 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        }
        parser.OnStreamPacket(nullptr, section.data(), static_cast<uint32_t>(length), 0);
        offset += length;
    }

    if (flags & 2) {
        std::vector<uint8_t> copy(rest, rest + restSize);
        CDescriptorList list;
        ParseDescriptors(list, copy.data(), static_cast<uint32_t>(copy.size()));
        Walk(list);
    }
    if (flags & 4) {
        std::vector<uint8_t> copy(rest, rest + restSize);
        g_sink += ConvertDVBText(copy.data(), copy.size()).size();
        base::CByteReader reader(copy.data(), copy.size());
        while (!reader.Empty())
            g_sink += ReadDVBText(reader).size();
    }
    parser.Stop();
    return 0;
}
