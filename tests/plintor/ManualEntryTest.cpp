#include <gtest/gtest.h>

#include <string>

#include "plintor/ManualEntry.h"

using namespace plintor;

TEST(ManualEntry, FrequenciesAreReadInDoubleAndRounded)
{
    int32_t kHz = 0;
    ASSERT_TRUE(ReadFrequencyKHz(u"128.008", &kHz));
    EXPECT_EQ(kHz, 128008);
    ASSERT_TRUE(ReadFrequencyKHz(u" 11494,5", &kHz)); // a decimal comma
    EXPECT_EQ(kHz, 11494500);
    // Every whole kilohertz from 100 to 900 MHz comes back exactly.
    int wrong = 0;
    for (int32_t k = 100000; k <= 900000; ++k) {
        const std::string text = std::to_string(k / 1000) + "." + std::string(3 - std::to_string(k % 1000).size(), '0') +
                                 std::to_string(k % 1000);
        wrong += !ReadFrequencyKHz(std::u16string(text.begin(), text.end()), &kHz) || kHz != k;
    }
    EXPECT_EQ(wrong, 0);
    for (const char16_t* bad : {u"", u"MHz", u"inf", u"nan", u"-", u"99999999"})
        EXPECT_FALSE(ReadFrequencyKHz(bad, &kHz)) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
}

TEST(ManualEntry, NextNeedsTheFieldsOfTheSourceType)
{
    EXPECT_TRUE(IsManualEntryValid(kSourceTerrestrial, u"506", u"8", u""));
    EXPECT_FALSE(IsManualEntryValid(kSourceTerrestrial, u"506", u"0", u""));
    EXPECT_TRUE(IsManualEntryValid(kSourceCable, u" 346", u"6900 ks", u"")); // "%d" stops at the unit
    EXPECT_FALSE(IsManualEntryValid(kSourceCable, u"346", u"99999999999", u""));
    EXPECT_TRUE(IsManualEntryValid(kSourceSatellite, u"11494", u"22000", u"h"));
    EXPECT_FALSE(IsManualEntryValid(kSourceSatellite, u"11494", u"22000", u"x"));
    EXPECT_TRUE(IsManualEntryValid(kSourceATSC, u"0", u"7", u""));
    EXPECT_FALSE(IsManualEntryValid(kSourceATSC, u"0", u"0", u""));
    EXPECT_TRUE(IsManualEntryValid(kSourceNetwork, u"239.1.2.3", u"1234", u""));
    EXPECT_FALSE(IsManualEntryValid(kSourceNetwork, u"239.1.2.256", u"1234", u""));
    EXPECT_FALSE(IsManualEntryValid(kSourceNetwork, u"239.1.2", u"1234", u""));
    EXPECT_FALSE(IsManualEntryValid(kSourceNetwork, u"239.1.2.3", u"65536", u""));
    EXPECT_FALSE(IsManualEntryValid(9, u"1", u"1", u"h"));
}
