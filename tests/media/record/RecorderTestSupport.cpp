#include "media/record/RecorderTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "support/TestMedia.h"

namespace test {

std::vector<uint8_t> RecordFile(const std::string& tsPath, uint16_t videoPid, uint16_t audioPid, size_t firstPacket)
{
    const auto ts = ReadFileBytes(tsPath);
    std::vector<uint8_t> out;
    uint64_t free = uint64_t(1) << 40;
    bool fails = false;
    CDeletingCallback callback;
    auto* recorder = new record::CMPEG2Recorder(new CMemorySink(out), 80, new CScriptedFreeSpace(free, fails), &callback);
    recorder->SetPids(videoPid, audioPid);
    for (size_t offset = firstPacket * 188; offset + 188 <= ts.size(); offset += 188)
        recorder->OnPacket(ts.data() + offset, 188);
    delete recorder;
    EXPECT_EQ(0, callback.calls);
    return out;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << path;
}

int Run(const std::string& command)
{
    const int status = std::system(command.c_str());
    return status == 0 ? 0 : (status > 255 ? status >> 8 : status);
}

std::string Output(const std::string& command)
{
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        text.append(buffer, n);
    pclose(pipe);
    return text;
}

} // namespace test
