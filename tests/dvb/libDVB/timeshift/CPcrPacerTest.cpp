#include <gtest/gtest.h>

#include "dvb/libDVB/timeshift/CPcrPacer.h"
#include "support/TransportStreamBuilder.h"

using libDVB::CPcrPacer;

TEST(PcrPacer, WaitsUntilTheClockCatchesUpWithThePcr)
{
    CPcrPacer pacer;
    EXPECT_EQ(pacer.OnPcr(90000, 5000), 0u);  // anchor
    EXPECT_EQ(pacer.OnPcr(99000, 5000), 100u); // 100 ms of stream, no time passed
    EXPECT_EQ(pacer.OnPcr(108000, 5150), 50u); // 200 ms of stream, 150 ms passed
    EXPECT_EQ(pacer.OnPcr(117000, 5400), 0u);  // late: no wait
    EXPECT_EQ(pacer.OnPcr(116000, 5400), 0u);  // a small step back: no wait
}

TEST(PcrPacer, AJumpAnchorsAnewInsteadOfWaiting)
{
    CPcrPacer pacer;
    pacer.OnPcr(90000, 0);
    EXPECT_EQ(pacer.OnPcr(90000 + 20000, 0), 0u); // discontinuity forward
    EXPECT_EQ(pacer.OnPcr(110000 + 9000, 0), 100u); // measured from the new anchor
    EXPECT_EQ(pacer.OnPcr(119000 - 10001, 100), 0u); // backwards past the limit
    EXPECT_EQ(pacer.OnPcr(108999 + 10000, 100), 111u); // exactly the limit is still continuous
    pacer.Reset();
    EXPECT_EQ(pacer.OnPcr(5, 1000), 0u);
}

TEST(PcrPacer, ReadsThePcrBaseOfAPacket)
{
    const uint64_t base = 0x1F0F0F0F1ull; // 33 bits
    auto p = test::PcrPacket(0x100, base, 3);
    uint64_t pcr = 0;
    ASSERT_TRUE(CPcrPacer::ReadPcrBase(p.data(), 188, &pcr));
    EXPECT_EQ(pcr, base);
    p[5] = 0x00; // no PCR_flag
    EXPECT_FALSE(CPcrPacer::ReadPcrBase(p.data(), 188, &pcr));
    p[5] = 0x10;
    p[4] = 0; // adaptation_field_length 0
    EXPECT_FALSE(CPcrPacer::ReadPcrBase(p.data(), 188, &pcr));
    p[4] = 3; // too short for a PCR
    EXPECT_FALSE(CPcrPacer::ReadPcrBase(p.data(), 188, &pcr));
    p[4] = 183;
    p[3] = 0x10; // payload only
    EXPECT_FALSE(CPcrPacer::ReadPcrBase(p.data(), 188, &pcr));
}
