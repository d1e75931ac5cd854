#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "plintor/CScanWorker.h"

using plintor::CScanWorker;

TEST(ScanWorker, OneRunAtATimeStopJoinsAndTheNextRunStartsUnstopped)
{
    CScanWorker worker;
    EXPECT_EQ(worker.Stop(), S_FALSE);
    std::atomic<int> runs{0};
    std::atomic<bool> stopSeen{false};
    auto waitForStop = [&](base::CManualResetEvent& stop) {
        ++runs;
        stopSeen = stop.Wait(10000);
    };
    ASSERT_EQ(worker.Start(waitForStop), S_OK);
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_EQ(worker.Start(waitForStop), E_FAIL); // the first run goes on
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(worker.Stop(), S_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(stopSeen);
    EXPECT_EQ(runs, 1);

    // A run that ended by itself leaves room for the next, whose stop event is reset.
    std::atomic<bool> stoppedAtStart{true};
    ASSERT_EQ(worker.Start([&](base::CManualResetEvent& stop) { stoppedAtStart = stop.IsSet(); }), S_OK);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (worker.IsRunning() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.Stop(), S_OK);
    EXPECT_FALSE(stoppedAtStart);
    EXPECT_EQ(worker.Start(nullptr), E_FAIL);
}

TEST(ScanWorker, DestructionStopsAndJoins)
{
    std::atomic<bool> ended{false};
    {
        CScanWorker worker;
        ASSERT_EQ(worker.Start([&](base::CManualResetEvent& stop) {
            stop.Wait(10000);
            ended = true;
        }), S_OK);
    }
    EXPECT_TRUE(ended);
}
