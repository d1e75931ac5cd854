#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "dvb/DVBPlaybackCore/CETHTuneInfo.h"
#include "dvb/libDVB/service/ServiceTestKit.h"
#include "plintor/CScanWorker.h"
#include "plintor/ScanRun.h"

using namespace test;
using DVBPlaybackCore::CQORService;

namespace {

// Entry 0 carries two programmes, entry 1 no PAT, entry 2 cannot be tuned.
class FakeSource : public plintor::CScanSource {
public:
    bool openResult = true;
    bool opened = false;
    bool closed = false;
    std::vector<size_t> ended;
    std::unique_ptr<CTestEngine> engine;

    size_t GetCount() const override { return 3; }
    bool Open(libDVB::CServiceManager::CServiceManagerCallback*) override { return opened = openResult; }
    libDVB::CTSEngine* Tune(size_t index, libDVB::CServiceManager::CServiceManagerCallback* listener) override
    {
        if (index == 2)
            return nullptr;
        engine = std::make_unique<CTestEngine>();
        engine->Start(listener);
        if (index == 0) {
            engine->Feed(0, Pat(0x10, 0, {{1, 0x100}, {2, 0x101}}));
            engine->Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}}));
            engine->Feed(0x101, Pmt(2, 0, 0x300, {{0x04, 0x300, {}}}));
            engine->Feed(0x11, Sdt(0x10, 1, 0, {{1, "One", "Maker"}, {2, "Two", "Maker"}}));
        }
        return engine.get();
    }
    void EndEntry(size_t index) override
    {
        ended.push_back(index);
        engine.reset();
    }
    std::unique_ptr<DVBPlaybackCore::CTuneInfo> MakeTuneInfo(size_t index) const override
    {
        auto info = std::make_unique<DVBPlaybackCore::CETHTuneInfo>();
        info->SetAddress(u"239.0.0.1");
        info->SetPort(static_cast<uint32_t>(5000 + index));
        return info;
    }
    void Close() override { closed = true; }
};

struct Message {
    uint32_t id;
    uintptr_t wParam;
    intptr_t lParam;
    bool operator==(const Message& o) const { return id == o.id && wParam == o.wParam && lParam == o.lParam; }
};

struct Window {
    std::vector<Message> messages;
    std::vector<std::unique_ptr<CQORService>> records;
    bool open = true;
    plintor::ScanPost Post()
    {
        return [this](uint32_t id, uintptr_t wParam, intptr_t lParam) {
            if (!open)
                return false;
            if (id == plintor::kScanRecord) {
                records.emplace_back(reinterpret_cast<CQORService*>(wParam));
                wParam = 0; // compared without the pointer
            }
            messages.push_back({id, wParam, lParam});
            return true;
        };
    }
};

const plintor::CTransponderScan::Waits kShort{100, 100, 100};

} // namespace

TEST(ScanRun, MessagesInOrderAndRecordsWithTheirEntry)
{
    FakeSource source;
    Window window;
    base::CManualResetEvent stop;
    plintor::RunScan(source, plintor::kSourceNetwork, stop, window.Post(), kShort);
    const std::vector<Message> expected = {
        {1025, 0, 0}, {1026, 3, 5}, {1027, 0, 1}, {1028, 0, 0}, {1028, 0, 0},
        {1027, 1, 2}, {1027, 2, 3}, {1029, 1, 0}, {1029, 2, 0}};
    EXPECT_EQ(window.messages, expected);
    ASSERT_EQ(window.records.size(), 2u);
    EXPECT_EQ(window.records[0]->GetName(), u"One");
    EXPECT_EQ(window.records[1]->GetName(), u"Two");
    auto* info = dynamic_cast<DVBPlaybackCore::CETHTuneInfo*>(window.records[1]->GetTuneInfo(0));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetPort(), 5000u);
    EXPECT_EQ(source.ended, (std::vector<size_t>{0, 1, 2}));
    EXPECT_TRUE(source.closed);
}

TEST(ScanRun, FailedOpenStoppedRunAndClosedWindow)
{
    {
        FakeSource source;
        source.openResult = false;
        Window window;
        base::CManualResetEvent stop;
        plintor::RunScan(source, plintor::kSourceSatellite, stop, window.Post(), kShort);
        EXPECT_EQ(window.messages, (std::vector<Message>{{1025, 0, 0}, {1029, 1, 0}, {1029, 2, 0}}));
        EXPECT_TRUE(source.closed);
    }
    {
        FakeSource source;
        Window window;
        base::CManualResetEvent stop;
        stop.Set();
        plintor::RunScan(source, plintor::kSourceCable, stop, window.Post(), kShort);
        EXPECT_EQ(window.messages,
                  (std::vector<Message>{{1025, 0, 0}, {1026, 3, 1}, {1029, 1, 0}, {1029, 2, 0}}));
        EXPECT_TRUE(source.ended.empty());
    }
    {
        // The window is gone: the records the run found are deleted, not lost (the sanitiser checks).
        FakeSource source;
        Window window;
        window.open = false;
        base::CManualResetEvent stop;
        plintor::RunScan(source, plintor::kSourceNetwork, stop, window.Post(), kShort);
        EXPECT_TRUE(window.records.empty());
        EXPECT_EQ(source.ended.size(), 3u);
    }
}

namespace {

// One entry whose stream has a PAT but no PMT: the scan waits 10 s for the programme maps.
class PatOnlySource : public FakeSource {
public:
    size_t GetCount() const override { return 1; }
    libDVB::CTSEngine* Tune(size_t, libDVB::CServiceManager::CServiceManagerCallback* listener) override
    {
        engine = std::make_unique<CTestEngine>();
        engine->Start(listener);
        engine->Feed(0, Pat(0x10, 0, {{1, 0x100}}));
        tuned.Set();
        return engine.get();
    }
    base::CManualResetEvent tuned;
};

} // namespace

TEST(ScanRun, StopDuringTheProgrammeMapWaitEndsTheWorkerAtOnce)
{
    PatOnlySource source;
    std::mutex lock;
    std::vector<uint32_t> ids;
    plintor::CScanWorker worker;
    ASSERT_EQ(worker.Start([&](base::CManualResetEvent& stop) {
        plintor::RunScan(source, plintor::kSourceTerrestrial, stop, [&](uint32_t id, uintptr_t, intptr_t) {
            std::lock_guard<std::mutex> guard(lock);
            ids.push_back(id);
            return true;
        });
    }), S_OK);
    ASSERT_TRUE(source.tuned.Wait(10000));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(worker.Stop(), S_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(ids, (std::vector<uint32_t>{1025, 1026, 1027, 1029, 1029}));
    EXPECT_TRUE(source.closed);
}
