// Section handling cost: a full EIT schedule section (events with short and extended event,
// component and content descriptors) checked, dispatched and parsed, and the DVB text conversion
// of the default table and of UTF-8.
#include <benchmark/benchmark.h>

#include <vector>

#include "dvb/libDVB/si/CSIParser.h"
#include "dvb/libDVB/si/Crc32.h"
#include "dvb/libDVB/si/DVBText.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Out of line: inlined into the builders below, GCC 12 reports false out-of-bounds writes.
[[gnu::noinline]] void Append(Bytes& out, const Bytes& b)
{
    const size_t at = out.size();
    out.resize(at + b.size());
    for (size_t i = 0; i < b.size(); ++i)
        out[at + i] = b[i];
}

Bytes TextField(const std::string& s)
{
    Bytes t{static_cast<uint8_t>(s.size())};
    Append(t, Bytes(s.begin(), s.end()));
    return t;
}

Bytes Descriptor(uint8_t tag, const Bytes& payload)
{
    Bytes d{tag, static_cast<uint8_t>(payload.size())};
    Append(d, payload);
    return d;
}

// An EIT schedule section of about 4 KB: as many events as fit.
Bytes MakeEitSection()
{
    Bytes body{0x0A, 0x1B, 0x2C, 0x3D, 0x00, 0x50};
    for (uint16_t id = 1; body.size() < 3800; ++id) {
        Bytes descriptors;
        Bytes shortEvent{'e', 'n', 'g'};
        Append(shortEvent, TextField("Evening news and weather"));
        Append(shortEvent, TextField("The day's events from home and abroad, with the forecast."));
        Append(descriptors, Descriptor(0x4D, shortEvent));
        Bytes extended{0x00, 'e', 'n', 'g', 0x00};
        Append(extended, TextField(std::string(120, 'x')));
        Append(descriptors, Descriptor(0x4E, extended));
        Append(descriptors, Descriptor(0x50, {0xF2, 0x03, 0x01, 'e', 'n', 'g'}));
        Append(descriptors, Descriptor(0x54, {0x21, 0x00}));
        const Bytes header{static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id), 0xC0, 0x79, 0x18, 0x00, 0x00,
                           0x00, 0x30, 0x00, static_cast<uint8_t>(0x80 | (descriptors.size() >> 8)),
                           static_cast<uint8_t>(descriptors.size())};
        Append(body, header);
        Append(body, descriptors);
    }
    const size_t n = 5 + body.size() + 4;
    Bytes s{0x50, static_cast<uint8_t>(0xB0 | (n >> 8)), static_cast<uint8_t>(n), 0x01, 0x01, 0xC1, 0x00, 0x00};
    Append(s, body);
    const uint32_t crc = libDVB::Crc32Mpeg(s.data(), s.size());
    Append(s, {static_cast<uint8_t>(crc >> 24), static_cast<uint8_t>(crc >> 16), static_cast<uint8_t>(crc >> 8),
               static_cast<uint8_t>(crc)});
    return s;
}

class CParsingOwner : public libDVB::CSIParser::CSIParserCallback {
public:
    size_t events = 0;
    HRESULT OnPAT(libDVB::CSIParser*, const uint8_t*, uint32_t, libDVB::CPATTable*) override { return S_FALSE; }
    HRESULT OnPMT(libDVB::CSIParser*, const uint8_t*, uint32_t, libDVB::CPMTTable*) override { return S_FALSE; }
    HRESULT OnCAT(libDVB::CSIParser*, const uint8_t*, uint32_t, libDVB::CCATTable*) override { return S_FALSE; }
    HRESULT OnNIT(libDVB::CSIParser*, const uint8_t*, uint32_t, libDVB::CNITTable*) override { return S_FALSE; }
    HRESULT OnBAT(libDVB::CSIParser*, const uint8_t*, uint32_t, libDVB::CBATTable*) override { return S_FALSE; }
    HRESULT OnEIT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CEITTable* t) override
    {
        if (FAILED(t->Parse(s, n)))
            return E_FAIL;
        events += t->GetEvents().size();
        return S_FALSE; // not handled: the next copy is parsed again
    }
    HRESULT OnSDT(libDVB::CSIParser*, const uint8_t*, uint32_t, libDVB::CSDTTable*) override { return S_FALSE; }
    HRESULT OnTDT(libDVB::CSIParser*, const uint8_t*, uint32_t, libDVB::CTDTTable*) override { return S_FALSE; }
    HRESULT OnTOT(libDVB::CSIParser*, const uint8_t*, uint32_t, libDVB::CTOTTable*) override { return S_FALSE; }
};

void BM_EitSectionParse(benchmark::State& state)
{
    const Bytes section = MakeEitSection();
    libDVB::CTSDemultiplexer router;
    CParsingOwner owner;
    libDVB::CSIParser parser(&router, &owner);
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.OnStreamPacket(nullptr, section.data(), static_cast<uint32_t>(section.size()), 0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * section.size()));
    state.counters["events/s"] = benchmark::Counter(static_cast<double>(owner.events), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EitSectionParse);

void BM_SectionCrc(benchmark::State& state)
{
    const Bytes section = MakeEitSection();
    for (auto _ : state)
        benchmark::DoNotOptimize(libDVB::Crc32Mpeg(section.data(), section.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * section.size()));
}
BENCHMARK(BM_SectionCrc);

void BM_DVBText(benchmark::State& state)
{
    Bytes text;
    if (state.range(0) == 0) {
        const std::string latin = "Z\xC8urich \xC2" "ecole \xCF" "Skoda - the evening film, repeated";
        text.assign(latin.begin(), latin.end());
    } else {
        const std::string utf8 = "\x15Z\xC3\xBCrich \xC3\xA9" "cole \xC5\xA0koda - the evening film, repeated";
        text.assign(utf8.begin(), utf8.end());
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(libDVB::ConvertDVBText(text.data(), text.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DVBText)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
