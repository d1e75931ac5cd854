#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/ManualResetEvent.h"

using base::CManualResetEvent;

TEST(ManualResetEvent, WaitEitherWakesForWhicheverIsSetFirst)
{
    CManualResetEvent event, stop;
    const auto start = std::chrono::steady_clock::now();
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stop.Set();
    });
    // A ten-second wait ends with the stop, long before its time.
    EXPECT_EQ(base::WaitEither(event, stop, 10000), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    setter.join();

    stop.Reset();
    std::thread other([&] { event.Set(); });
    EXPECT_EQ(base::WaitEither(event, stop, 10000), 0);
    other.join();
    // Both set: the event wins; neither: the time runs out.
    stop.Set();
    EXPECT_EQ(base::WaitEither(event, stop, 0), 0);
    event.Reset();
    stop.Reset();
    EXPECT_EQ(base::WaitEither(event, stop, 10), -1);
}
