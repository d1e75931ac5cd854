// Writes seed inputs for the SI parser fuzzer into the folder given as the last argument: one valid
// section of each of the nine tables, with descriptors of every kind and a correct CRC_32, each
// behind the fuzzer's flag byte, and one input holding all of them.
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "dvb/libDVB/si/CSIParser.h"
#include "dvb/libDVB/si/Crc32.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Str(const char* s) { return Bytes(s, s + std::char_traits<char>::length(s)); }
Bytes D(uint8_t tag, const Bytes& payload) { return Cat({{tag, static_cast<uint8_t>(payload.size())}, payload}); }
Bytes T(const Bytes& chars) { return Cat({{static_cast<uint8_t>(chars.size())}, chars}); }
Bytes T(const char* s) { return T(Str(s)); }
Bytes L12(const Bytes& loop)
{
    return Cat({{static_cast<uint8_t>(0xF0 | (loop.size() >> 8)), static_cast<uint8_t>(loop.size())}, loop});
}

void AppendCrc(Bytes& s)
{
    const uint32_t crc = libDVB::Crc32Mpeg(s.data(), s.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<uint8_t>(crc >> shift));
}

Bytes Long(uint8_t tableId, uint16_t extension, const Bytes& body)
{
    const size_t n = 5 + body.size() + 4;
    Bytes s = Cat({{tableId, static_cast<uint8_t>(0xB0 | (n >> 8)), static_cast<uint8_t>(n), static_cast<uint8_t>(extension >> 8),
                    static_cast<uint8_t>(extension), 0xC3, 0x00, 0x00},
                   body});
    AppendCrc(s);
    return s;
}

Bytes Short(uint8_t tableId, const Bytes& body, bool crc)
{
    const size_t n = body.size() + (crc ? 4 : 0);
    Bytes s = Cat({{tableId, static_cast<uint8_t>(0x70 | (n >> 8)), static_cast<uint8_t>(n)}, body});
    if (crc)
        AppendCrc(s);
    return s;
}

bool Write(const std::string& folder, const std::string& name, const Bytes& bytes)
{
    const std::string path = folder + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A seed that the parser refuses would start the fuzzer in the wrong place: each one must reach its
// owner operation and parse.
class CSeedCheck : public libDVB::CSIParser::CSIParserCallback {
public:
    int parsed = 0;
    HRESULT OnPAT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CPATTable* t) override { return Note(t->Parse(s, n)); }
    HRESULT OnPMT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CPMTTable* t) override
    {
        return Note(t->Parse(s, n), !t->GetStreams().empty() && t->GetStreams()[0].descriptors.size() == 11);
    }
    HRESULT OnCAT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CCATTable* t) override { return Note(t->Parse(s, n)); }
    HRESULT OnNIT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CNITTable* t) override
    {
        return Note(t->Parse(s, n), t->GetNetworkDescriptors().size() == 3);
    }
    HRESULT OnBAT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CBATTable* t) override
    {
        return Note(t->Parse(s, n), t->GetBouquetDescriptors().size() == 2);
    }
    HRESULT OnEIT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CEITTable* t) override
    {
        return Note(t->Parse(s, n), t->GetEvents().size() == 1 && t->GetEvents()[0].descriptors.size() == 6);
    }
    HRESULT OnSDT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CSDTTable* t) override
    {
        return Note(t->Parse(s, n), t->GetServices().size() == 1 && t->GetServices()[0].descriptors.size() == 4);
    }
    HRESULT OnTDT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CTDTTable* t) override { return Note(t->Parse(s, n)); }
    HRESULT OnTOT(libDVB::CSIParser*, const uint8_t* s, uint32_t n, libDVB::CTOTTable* t) override { return Note(t->Parse(s, n)); }

private:
    HRESULT Note(HRESULT hr, bool complete = true)
    {
        if (hr == S_OK && complete)
            ++parsed;
        return hr;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string folder = argv[argc - 1];
    mkdir(folder.c_str(), 0755);

    const Bytes time{0xC0, 0x79, 0x12, 0x45, 0x00};
    const Bytes streamDescriptors = Cat({D(0x02, {0x1A, 0x48, 0x5F}), D(0x03, {0x48}), D(0x06, {0x01}), D(0x08, {1, 2, 3, 4}),
                                        D(0x0A, Cat({Str("eng"), {0}})), D(0x0E, {0xC0, 0x10, 0x00}),
                                        D(0x56, Cat({Str("deu"), {0x09, 0x00}})), D(0x59, Cat({Str("fin"), {0x10, 0, 1, 0, 2}})),
                                        D(0x68, {}), D(0x69, {1, 2, 3}), D(0x6A, {0x00})});
    const Bytes serviceDescriptors =
        Cat({D(0x48, Cat({{0x01}, T("Provider"), T("\x15Service \xC3\xA9")})), D(0x49, Cat({{0x80}, Str("SVK")})),
             D(0x5D, Cat({Str("slk"), T("P"), T("\x05Meno")})), D(0x72, {0x80, 0x00, 0x01})});
    const Bytes eventDescriptors =
        Cat({D(0x4D, Cat({Str("eng"), T("\xC2" "Ecole"), T(Bytes{0x11, 0x00, 'T', 0x00, 'V'})})),
             D(0x4E, Cat({{0x01}, Str("eng"), {0x06}, T("Dir"), T("Me"), T(Bytes{0x10, 0x00, 0x02, 0xB1})})),
             D(0x50, Cat({{0xF2, 0x03, 0x01}, Str("eng"), Str("Stereo")})), D(0x54, {0x14, 0x00}),
             D(0x55, Cat({Str("SVK"), {0x09}})), D(0x5E, Cat({{0x01}, Str("ces"), T("Dabing")}))});
    const Bytes networkDescriptors = Cat({D(0x40, Str("Net")), D(0x41, {0x01, 0x01, 0x01}), D(0x5B, Cat({Str("eng"), T("Net")}))});
    const Bytes bouquetDescriptors = Cat({D(0x47, Str("Bq")), D(0x5C, Cat({Str("eng"), T("Bq")}))});
    const Bytes tsLoop = Cat({{0x0A, 0x1B, 0x2C, 0x3D}, L12(D(0x41, {0x01, 0x01, 0x01}))});
    Bytes eventEntry = Cat({{0x10, 0x01}, time, {0x01, 0x30, 0x00}});
    const Bytes eventLoop = L12(eventDescriptors);
    eventEntry.push_back(static_cast<uint8_t>(0x80 | (eventLoop[0] & 0x0F)));
    eventEntry.insert(eventEntry.end(), eventLoop.begin() + 1, eventLoop.end());
    Bytes serviceEntry{0x01, 0x01, 0xFD};
    const Bytes serviceLoop = L12(serviceDescriptors);
    serviceEntry.push_back(static_cast<uint8_t>(0x90 | (serviceLoop[0] & 0x0F)));
    serviceEntry.insert(serviceEntry.end(), serviceLoop.begin() + 1, serviceLoop.end());

    const std::vector<std::pair<const char*, Bytes>> sections = {
        {"pat", Long(0x00, 0x0A1B, {0x00, 0x00, 0xE0, 0x10, 0x01, 0x01, 0xE1, 0x00})},
        {"pmt", Long(0x02, 0x0101, Cat({{0xE1, 0x00}, L12({}), {0x02, 0xE1, 0x00}, L12(streamDescriptors)}))},
        {"cat", Long(0x01, 0xFFFF, D(0x09, {0x0B, 0x00, 0xE1, 0x23}))},
        {"nit", Long(0x40, 0x2C3D, Cat({L12(networkDescriptors), L12(tsLoop)}))},
        {"bat", Long(0x4A, 0x0042, Cat({L12(bouquetDescriptors), L12(tsLoop)}))},
        {"sdt", Long(0x42, 0x0A1B, Cat({{0x2C, 0x3D, 0xFF}, serviceEntry}))},
        {"eit", Long(0x4E, 0x0101, Cat({{0x0A, 0x1B, 0x2C, 0x3D, 0x00, 0x4E}, eventEntry}))},
        {"tdt", Short(0x70, time, false)},
        {"tot", Short(0x73, Cat({time, L12(D(0x58, Cat({Str("SVK"), {0x02, 0x01, 0x00}, time, {0x02, 0x00}})))}), true)},
    };
    libDVB::CTSDemultiplexer router;
    CSeedCheck check;
    libDVB::CSIParser parser(&router, &check);
    for (const auto& s : sections)
        parser.OnStreamPacket(nullptr, s.second.data(), static_cast<uint32_t>(s.second.size()), 0);
    if (check.parsed != static_cast<int>(sections.size())) {
        std::fprintf(stderr, "only %d of %zu seed sections parse\n", check.parsed, sections.size());
        return 1;
    }

    Bytes all{0x00};
    for (const auto& s : sections) {
        if (!Write(folder, std::string("seed_") + s.first, Cat({{0x00}, s.second})) ||
            !Write(folder, std::string("seed_fixcrc_") + s.first, Cat({{0x01}, s.second})))
            return 1;
        all.insert(all.end(), s.second.begin(), s.second.end());
    }
    if (!Write(folder, "seed_all", all) || !Write(folder, "seed_descriptors", Cat({{0x06}, streamDescriptors, eventDescriptors})))
        return 1;
    return 0;
}
