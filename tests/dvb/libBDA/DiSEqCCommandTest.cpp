// The DiSEqC property buffer byte for byte: committed-switch message, zero padding and the
// little-endian trailer fields, for every defined port with and without the option bit.
#include <gtest/gtest.h>

#include <cstring>

#include "dvb/libBDA/DiSEqCCommand.h"

namespace {

uint32_t U32At(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

TEST(DiSEqCCommandTest, EveryPortGivesItsCommittedSwitchByte)
{
    // port -> fourth message byte without and with the option bit (EN 50494 style 0x38 "write N0").
    const uint8_t expected[7][2] = {{0, 0}, {0xF0, 0xF2}, {0xF4, 0xF6}, {0xF0, 0xF2},
                                    {0xF4, 0xF6}, {0xF8, 0xFA}, {0xFC, 0xFE}};
    for (uint32_t port = 1; port <= 6; ++port) {
        for (int option = 0; option < 2; ++option) {
            uint8_t buffer[libBDA::kDiSEqCBufferSize];
            std::memset(buffer, 0xCC, sizeof(buffer));
            ASSERT_EQ(S_OK, libBDA::BuildDiSEqCCommand(port, option != 0, buffer));
            EXPECT_EQ(0xE0, buffer[0]);
            EXPECT_EQ(0x10, buffer[1]);
            EXPECT_EQ(0x38, buffer[2]);
            EXPECT_EQ(expected[port][option], buffer[3]) << "port " << port << " option " << option;
            for (int i = 4; i < 160; ++i)
                ASSERT_EQ(0, buffer[i]) << "byte " << i;
            EXPECT_EQ(4u, U32At(buffer + 160));
            EXPECT_EQ(0u, U32At(buffer + 164));
            EXPECT_EQ(3u, U32At(buffer + 168));
            EXPECT_EQ(1u, U32At(buffer + 172));
            EXPECT_EQ(1u, U32At(buffer + 176));
            EXPECT_EQ(3u, U32At(buffer + 180));
            EXPECT_EQ(1u, U32At(buffer + 184));
        }
    }
}

TEST(DiSEqCCommandTest, PortZeroSendsNothingAndUndefinedPortsAreRefused)
{
    uint8_t buffer[libBDA::kDiSEqCBufferSize];
    std::memset(buffer, 0xCC, sizeof(buffer));
    EXPECT_EQ(S_FALSE, libBDA::BuildDiSEqCCommand(0, true, buffer));
    EXPECT_EQ(E_INVALIDARG, libBDA::BuildDiSEqCCommand(7, false, buffer));
    EXPECT_EQ(E_INVALIDARG, libBDA::BuildDiSEqCCommand(0xFFFFFFFFu, false, buffer));
    for (uint8_t b : buffer)
        ASSERT_EQ(0xCC, b); // untouched
}

} // namespace
