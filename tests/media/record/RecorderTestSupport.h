// A memory sink and a scripted free-space query for the recorder tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/record/CBaseRecorderSink.h"
#include "media/record/CFreeSpaceQuery.h"
#include "media/record/CMPEG2Recorder.h"

namespace test {

// Appends to a vector the test keeps; fails every write once `failAfter` bytes are stored.
class CMemorySink : public record::CBaseRecorderSink {
public:
    CMemorySink(std::vector<uint8_t>& out, size_t failAfter = SIZE_MAX) : m_out(out), m_failAfter(failAfter) {}
    HRESULT Write(const uint8_t* data, int length) override
    {
        ++writes;
        if (m_out.size() + static_cast<size_t>(length) > m_failAfter)
            return E_FAIL;
        m_out.insert(m_out.end(), data, data + length);
        return S_OK;
    }
    int writes = 0;

private:
    std::vector<uint8_t>& m_out;
    size_t m_failAfter;
};

class CScriptedFreeSpace : public record::CFreeSpaceQuery {
public:
    explicit CScriptedFreeSpace(uint64_t& bytes, bool& fails) : m_bytes(bytes), m_fails(fails) {}
    bool FreeBytes(uint64_t* bytes) override
    {
        *bytes = m_bytes;
        return !m_fails;
    }

private:
    uint64_t& m_bytes;
    bool& m_fails;
};

// Counts the calls and deletes the recorder inside the call, as the viewer does.
class CDeletingCallback : public record::CMPEG2Recorder::CRecCallback {
public:
    void OnDiskFull() override
    {
        ++calls;
        if (deleteRecorder) {
            delete recorder;
            recorder = nullptr;
        }
    }
    record::CMPEG2Recorder* recorder = nullptr;
    bool deleteRecorder = true;
    int calls = 0;
};

// Records a transport-stream file with the given PIDs, from its packet `firstPacket` on (free space
// unlimited).
std::vector<uint8_t> RecordFile(const std::string& tsPath, uint16_t videoPid, uint16_t audioPid, size_t firstPacket = 0);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Runs a shell command; its exit status.
int Run(const std::string& command);
// What a command printed on its standard output.
std::string Output(const std::string& command);

} // namespace test
