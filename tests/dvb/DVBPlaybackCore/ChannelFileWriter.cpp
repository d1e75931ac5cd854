#include "ChannelFileWriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "base/Utf16.h"
#include "support/TestMedia.h"

namespace test {

namespace {

std::string Quoted(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string Tune(const CTuneDescription& t)
{
    std::ostringstream o;
    o << "{\"kind\":" << Quoted(t.kind);
    if (t.kind == "bda") {
        o << ",\"type\":" << t.type << ",\"port\":" << t.port << ",\"name\":" << Quoted(t.text) << ",\"values\":[";
        for (size_t i = 0; i < t.values.size(); ++i)
            o << (i ? "," : "") << t.values[i];
        o << "]";
    } else if (t.kind == "eth") {
        o << ",\"port\":" << t.port << ",\"address\":" << Quoted(t.text);
    } else {
        o << ",\"guid\":" << Quoted(t.guidHex) << ",\"body\":" << Quoted(t.bodyHex);
    }
    return o.str() + "}";
}

} // namespace

CTuneDescription Bda(uint32_t type, uint32_t port, const std::string& name, std::vector<int32_t> values)
{
    CTuneDescription t;
    t.kind = "bda";
    t.type = type;
    t.port = port;
    t.text = name;
    t.values = std::move(values);
    return t;
}

CTuneDescription Eth(const std::string& address, uint32_t port)
{
    CTuneDescription t;
    t.kind = "eth";
    t.port = port;
    t.text = address;
    return t;
}

CRecordDescription Record(uint16_t tsid, uint16_t sid, uint32_t type, int32_t channel, const std::string& name,
                          std::vector<CTuneDescription> tune)
{
    CRecordDescription r;
    r.tsid = tsid;
    r.sid = sid;
    r.type = type;
    r.channel = channel;
    r.name = name;
    r.tune = std::move(tune);
    return r;
}

std::string DescriptionJson(const std::vector<CRecordDescription>& records, int64_t storedCount)
{
    std::ostringstream o;
    o << "{";
    if (storedCount >= 0)
        o << "\"count\":" << storedCount << ",";
    o << "\"records\":[";
    for (size_t i = 0; i < records.size(); ++i) {
        const CRecordDescription& r = records[i];
        o << (i ? "," : "") << "{\"sid\":" << r.sid << ",\"tsid\":" << r.tsid << ",\"onid\":" << r.onid
          << ",\"reserved\":" << r.reserved << ",\"favourite\":" << r.favourite << ",\"channel\":" << r.channel
          << ",\"dvb_type\":" << r.dvbType << ",\"type\":" << r.type << ",\"name\":" << Quoted(r.name)
          << ",\"provider\":" << Quoted(r.provider) << ",\"scrambled\":" << int(r.scrambled)
          << ",\"teletext\":" << int(r.teletext) << ",\"subtitles\":" << int(r.subtitles) << ",\"epg\":" << int(r.epg)
          << ",\"audio\":" << int(r.audio) << ",\"logo\":" << Quoted(r.logo) << ",\"pids\":[";
        for (int p = 0; p < 5; ++p)
            o << (p ? "," : "") << r.pids[p];
        o << "],\"tune\":[";
        for (size_t t = 0; t < r.tune.size(); ++t)
            o << (t ? "," : "") << Tune(r.tune[t]);
        o << "]}";
    }
    o << "]}";
    return o.str();
}

CTemporaryFolder::CTemporaryFolder()
{
    char pattern[] = "/tmp/tolvik-channels-XXXXXX";
    const char* made = mkdtemp(pattern);
    m_path = made ? made : "";
}

CTemporaryFolder::~CTemporaryFolder()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

std::u16string CTemporaryFolder::Path16() const { return base::Utf8ToUtf16(m_path); }

int RunChannelFileScript(const std::string& command, const std::string& json, const std::string& file)
{
    const std::string descriptionPath = file + ".json";
    {
        std::ofstream d(descriptionPath, std::ios::binary);
        d << json;
    }
    const std::string script = SourcePath("tests/dvb/DVBPlaybackCore/channel_file.py");
    // Debian's interpreter (scripts/setup installs it) starts fast; another on the path may not.
    const std::string python = FileExists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    const std::string line = python + " '" + script + "' " + command + " '" + descriptionPath + "' '" + file + "'";
    const int status = std::system(line.c_str());
    std::remove(descriptionPath.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace test
