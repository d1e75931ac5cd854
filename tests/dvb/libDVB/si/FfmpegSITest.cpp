// Tables no one here wrote: transport streams made by ffmpeg at test time with chosen ids, names,
// stream types and languages, through the router and the parser.
#include <gtest/gtest.h>

#include <map>

#include "dvb/libDVB/si/CSIParser.h"
#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"
#include "dvb/libDVB/si/descriptors/CISO639LanguageDescriptor.h"
#include "dvb/libDVB/si/descriptors/CNetworkNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceListDescriptor.h"
#include "dvb/libDVB/si/descriptors/CTagOnlyDescriptor.h"
#include "support/TestMedia.h"

using namespace libDVB;

namespace {

struct CStreamSeen {
    uint8_t type;
    std::string language;
    bool ac3Descriptor;
};

struct CServiceSeen {
    std::u16string name, provider;
    uint8_t type;
};

// Keeps what the tables say, the way the service manager will: parse once per handled section.
class CCollector : public CSIParser::CSIParserCallback {
public:
    HRESULT OnPAT(CSIParser* parser, const uint8_t* s, uint32_t n, CPATTable* t) override
    {
        if (t->IsHandled())
            return S_OK;
        if (FAILED(t->Parse(s, n)))
            return E_FAIL;
        transportStreamId = t->GetTransportStreamId();
        programs = t->GetPrograms();
        for (const auto& p : programs)
            parser->AddPid(p.second);
        parser->AddPid(0x10);
        parser->AddPid(0x11);
        return S_OK;
    }
    HRESULT OnPMT(CSIParser*, const uint8_t* s, uint32_t n, CPMTTable* t) override
    {
        if (t->IsHandled())
            return S_OK;
        if (FAILED(t->Parse(s, n)))
            return E_FAIL;
        auto& streams = pmts[t->GetProgramNumber()];
        streams.clear();
        for (const auto& es : t->GetStreams()) {
            const auto* lang = FindDescriptor<CISO639LanguageDescriptor>(es.descriptors);
            streams[es.elementary_PID] = {es.stream_type, lang ? std::string(lang->GetLanguageCode().data(), 3) : "",
                                         FindDescriptor(es.descriptors, CTagOnlyDescriptor::kTagAC3) != nullptr};
        }
        ++pmtSections;
        return S_OK;
    }
    HRESULT OnCAT(CSIParser*, const uint8_t*, uint32_t, CCATTable*) override { return S_FALSE; }
    HRESULT OnNIT(CSIParser*, const uint8_t* s, uint32_t n, CNITTable* t) override
    {
        if (t->IsHandled())
            return S_OK;
        if (FAILED(t->Parse(s, n)))
            return E_FAIL;
        nitTableId = t->GetTableId();
        networkId = t->GetNetworkId();
        const auto* name = FindDescriptor<CNetworkNameDescriptor>(t->GetNetworkDescriptors());
        networkName = name ? name->GetName() : "<none>";
        nitStreams.clear();
        for (const auto& ts : t->GetTransportStreams()) {
            nitStreams.emplace_back(ts.transport_stream_id, ts.original_network_id);
            for (uint32_t i = 0; const auto* list = static_cast<const CServiceListDescriptor*>(
                                     FindDescriptor(ts.descriptors, CServiceListDescriptor::kTag, i));
                 ++i)
                listedServices.push_back(list->GetServiceId());
        }
        return S_OK;
    }
    HRESULT OnBAT(CSIParser*, const uint8_t*, uint32_t, CBATTable*) override { return S_FALSE; }
    HRESULT OnEIT(CSIParser*, const uint8_t*, uint32_t, CEITTable*) override { return S_FALSE; }
    HRESULT OnSDT(CSIParser*, const uint8_t* s, uint32_t n, CSDTTable* t) override
    {
        if (t->IsHandled())
            return S_OK;
        if (FAILED(t->Parse(s, n)))
            return E_FAIL;
        sdtTableId = t->GetTableId();
        sdtTransportStreamId = t->GetTransportStreamId();
        originalNetworkId = t->GetOriginalNetworkId();
        for (const auto& entry : t->GetServices()) {
            const auto* d = FindDescriptor<CServiceDescriptor>(entry.descriptors);
            if (d)
                services[entry.service_id] = {d->GetServiceName(), d->GetServiceProviderName(), d->GetServiceType()};
        }
        return S_OK;
    }
    HRESULT OnTDT(CSIParser*, const uint8_t*, uint32_t, CTDTTable*) override { return S_FALSE; }
    HRESULT OnTOT(CSIParser*, const uint8_t*, uint32_t, CTOTTable*) override { return S_FALSE; }

    uint16_t transportStreamId = 0;
    std::map<uint16_t, uint16_t> programs;
    std::map<uint16_t, std::map<uint16_t, CStreamSeen>> pmts;
    int pmtSections = 0;
    uint8_t sdtTableId = 0, nitTableId = 0;
    uint16_t sdtTransportStreamId = 0, originalNetworkId = 0, networkId = 0;
    std::map<uint16_t, CServiceSeen> services;
    std::string networkName;
    std::vector<std::pair<uint16_t, uint16_t>> nitStreams;
    std::vector<uint16_t> listedServices;
};

void RunFile(const std::string& file, CCollector& collector)
{
    const auto bytes = test::ReadFileBytes(test::MediaPath(file));
    ASSERT_GT(bytes.size(), 188u * 50);
    CTSDemultiplexer router;
    CSIParser parser(&router, &collector);
    ASSERT_EQ(parser.Start(), S_OK);
    ASSERT_EQ(router.InputBytes(bytes.data(), static_cast<uint32_t>(bytes.size())), S_OK);
    parser.Stop();
}

void ExpectCommonTables(const CCollector& c)
{
    EXPECT_EQ(c.transportStreamId, 0x0A1B);
    EXPECT_EQ(c.programs.size(), 2u);
    EXPECT_EQ(c.programs.count(0x0101), 1u);
    EXPECT_EQ(c.programs.count(0x0202), 1u);

    EXPECT_EQ(c.sdtTableId, 0x42);
    EXPECT_EQ(c.sdtTransportStreamId, 0x0A1B);
    EXPECT_EQ(c.originalNetworkId, 0x2C3D);
    ASSERT_EQ(c.services.size(), 2u);
    EXPECT_EQ(c.services.at(0x0101).name, u"Alpha One");
    EXPECT_EQ(c.services.at(0x0101).provider, u"Harbour TV");
    EXPECT_EQ(c.services.at(0x0101).type, 0x01); // digital television
    EXPECT_EQ(c.services.at(0x0202).name, u"Beta Two");
    EXPECT_EQ(c.services.at(0x0202).provider, u"Fjord Media");

    EXPECT_EQ(c.nitTableId, 0x40);
    EXPECT_EQ(c.networkId, 0x2C3D);
    ASSERT_EQ(c.nitStreams.size(), 1u);
    EXPECT_EQ(c.nitStreams[0], std::make_pair(uint16_t(0x0A1B), uint16_t(0x2C3D)));
    EXPECT_FALSE(c.listedServices.empty());
    EXPECT_EQ(c.listedServices[0], 0x0101);

    ASSERT_EQ(c.pmts.size(), 2u);
    const auto& beta = c.pmts.at(0x0202);
    ASSERT_EQ(beta.size(), 2u);
    std::vector<std::pair<uint8_t, std::string>> kinds;
    for (const auto& s : beta)
        kinds.emplace_back(s.second.type, s.second.language);
    EXPECT_EQ(kinds, (std::vector<std::pair<uint8_t, std::string>>{{0x02, ""}, {0x03, "slk"}}));
    EXPECT_GE(c.pmtSections, 2);
}

} // namespace

TEST(FfmpegSI, IdsNamesStreamTypesAndLanguagesWithAtscStyleAc3)
{
    CCollector c;
    RunFile("si_services.ts", c);
    ExpectCommonTables(c);
    const auto& alpha = c.pmts.at(0x0101);
    ASSERT_EQ(alpha.size(), 3u);
    auto it = alpha.begin();
    EXPECT_EQ(it->second.type, 0x02);
    ++it;
    EXPECT_EQ(it->second.type, 0x03);
    EXPECT_EQ(it->second.language, "eng");
    ++it;
    EXPECT_EQ(it->second.type, 0x81);
    EXPECT_EQ(it->second.language, "deu");
}

TEST(FfmpegSI, DvbStyleAc3IsStreamTypeSixWithItsDescriptor)
{
    CCollector c;
    RunFile("si_services_dvb_ac3.ts", c);
    ExpectCommonTables(c);
    const auto& alpha = c.pmts.at(0x0101);
    ASSERT_EQ(alpha.size(), 3u);
    const auto& ac3 = std::prev(alpha.end())->second;
    EXPECT_EQ(ac3.type, 0x06);
    EXPECT_TRUE(ac3.ac3Descriptor);
    EXPECT_EQ(ac3.language, "deu");
    EXPECT_FALSE(alpha.begin()->second.ac3Descriptor);
}
