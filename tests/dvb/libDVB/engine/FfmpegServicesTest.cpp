// A multiplex no one here wrote, through a transport-stream engine: the services, their names,
// PIDs, stream kinds and languages must equal what ffprobe reports for the same file.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "dvb/libDVB/service/ServiceTestKit.h"
#include "base/Utf16.h"
#include "support/TestMedia.h"

using namespace test;
using libDVB::CAudioStream;
using libDVB::CService;
using libDVB::CStream;

namespace {

struct ProbedStream {
    uint16_t pid;
    std::string type, codec, language;
};
struct ProbedProgram {
    uint16_t pmtPid = 0, pcrPid = 0;
    std::string name, provider;
    std::vector<ProbedStream> streams;
};

std::map<uint16_t, ProbedProgram> ReadProbe(const std::string& path, uint16_t& tsid)
{
    std::map<uint16_t, ProbedProgram> programs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "tsid") {
            words >> tsid;
        } else if (kind == "program") {
            uint16_t id;
            ProbedProgram p;
            words >> id >> p.pmtPid >> p.pcrPid;
            std::string rest;
            std::getline(words, rest);
            rest = rest.substr(1);
            p.name = rest.substr(0, rest.find('|'));
            p.provider = rest.substr(rest.find('|') + 1);
            programs[id] = p;
        } else if (kind == "stream") {
            uint16_t id;
            ProbedStream s;
            words >> id >> s.pid >> s.type >> s.codec >> s.language;
            programs[id].streams.push_back(s);
        }
    }
    return programs;
}

} // namespace

TEST(FfmpegServices, EngineYieldsWhatFfprobeReports)
{
    uint16_t tsid = 0;
    const auto probed = ReadProbe(MediaPath("services.txt"), tsid);
    ASSERT_EQ(probed.size(), 3u);
    const auto file = ReadFileBytes(MediaPath("services.ts"));
    ASSERT_GT(file.size(), 188u * 50);

    CTestListener listener;
    CTestEngine engine;
    ASSERT_EQ(engine.Start(&listener), S_OK);
    for (size_t offset = 0; offset + 188 <= file.size(); offset += 188 * 100)
        engine.GetRouter().InputBytes(&file[offset], static_cast<uint32_t>(std::min<size_t>(188 * 100, file.size() - offset)));

    auto& manager = engine.GetServiceManager();
    EXPECT_TRUE(manager.AllPMTEvent().IsSet());
    EXPECT_TRUE(manager.AllSDTEvent().IsSet());
    EXPECT_EQ(manager.GetTransportStreamId(), tsid);
    ASSERT_EQ(listener.services.size(), probed.size());
    for (const auto& entry : probed) {
        SCOPED_TRACE("service " + std::to_string(entry.first));
        const ProbedProgram& p = entry.second;
        CService* s = listener.Service(entry.first);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(base::Utf16ToUtf8(s->GetName()), p.name);
        EXPECT_EQ(base::Utf16ToUtf8(s->GetProvider()), p.provider);
        EXPECT_EQ(s->GetReceptionState(), CService::kReceived);
        ASSERT_NE(s->GetPCRStream(), nullptr);
        EXPECT_EQ(s->GetPCRStream()->pid, p.pcrPid);
        unsigned video = 0, audio = 0;
        for (const auto& ps : p.streams) {
            const uint32_t kind = ps.type == "video" ? CStream::kVideo : CStream::kAudio;
            video += kind == CStream::kVideo;
            audio += kind == CStream::kAudio;
            const CStream* ours = s->FindStream(ps.pid, kind);
            ASSERT_NE(ours, nullptr) << ps.codec << " on pid " << ps.pid;
            if (kind == CStream::kAudio) {
                const auto* a = static_cast<const CAudioStream*>(ours);
                const std::string language(a->language, a->language + 3);
                EXPECT_EQ(ps.language == "-" ? std::string(3, '\0') : ps.language, language);
            }
        }
        EXPECT_EQ(s->GetStreamCount(), p.streams.size());
        EXPECT_EQ(s->GetServiceType(), video ? CService::kTV : CService::kRadio);
        EXPECT_EQ(s->HasSeveralAudioStreams(), audio > 1 ? 1 : 0);
    }
    ASSERT_EQ(engine.Stop(), S_OK);
    EXPECT_EQ(listener.removed.size(), probed.size());
}
