// Channel files for the tests, made by the independent Python reader and writer beside the tests
// (channel_file.py) from a description, and a private folder to hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test {

struct CTuneDescription {
    std::string kind; // "bda", "eth" or "raw"
    uint32_t type = 0;
    uint32_t port = 0;
    std::string text; // tuner name or group address (UTF-8)
    std::vector<int32_t> values;
    std::string guidHex, bodyHex; // "raw" only
};

struct CRecordDescription {
    uint16_t sid = 0, tsid = 0, onid = 0, reserved = 0;
    int32_t favourite = -1, channel = -1;
    uint32_t dvbType = 0, type = 0;
    std::string name, provider, logo; // UTF-8
    uint8_t scrambled = 0, teletext = 0, subtitles = 0, epg = 0, audio = 0;
    uint16_t pids[5] = {};
    std::vector<CTuneDescription> tune;
};

CTuneDescription Bda(uint32_t type, uint32_t port, const std::string& name, std::vector<int32_t> values);
CTuneDescription Eth(const std::string& address, uint32_t port);
CRecordDescription Record(uint16_t tsid, uint16_t sid, uint32_t type, int32_t channel, const std::string& name,
                          std::vector<CTuneDescription> tune = {});

std::string DescriptionJson(const std::vector<CRecordDescription>& records, int64_t storedCount = -1);

// A fresh folder removed with its contents at the end of the test.
class CTemporaryFolder {
public:
    CTemporaryFolder();
    ~CTemporaryFolder();
    const std::string& Path() const { return m_path; }
    std::u16string Path16() const;
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Runs channel_file.py `command` (write or check) with the description and the file; its exit code.
int RunChannelFileScript(const std::string& command, const std::string& json, const std::string& file);
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace test
