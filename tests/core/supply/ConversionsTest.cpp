#include "supply/Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Conversions, ReadingsRoundHalvesUp)
{
    EXPECT_EQ(Conversions::oneDecimal(Conversions::readingToValue(100, 31.5)), "3.2");
    EXPECT_EQ(Conversions::oneDecimal(Conversions::readingToValue(500, 15.7)), "7.9");
    EXPECT_EQ(Conversions::oneDecimal(Conversions::readingToValue(200, 63.0)), "12.6");
    EXPECT_EQ(Conversions::oneDecimal(Conversions::readingToValue(1000, 47.2)), "47.2");
    EXPECT_EQ(Conversions::oneDecimal(Conversions::readingToValue(0, 15.7)), "0.0");
}

TEST(Conversions, SetpointsTruncateTowardZero)
{
    EXPECT_EQ(Conversions::valueToRaw(12.0, 15.7), 764);
    EXPECT_EQ(Conversions::valueToRaw(0.8, 15.7), 50);
    EXPECT_EQ(Conversions::valueToRaw(15.7, 15.7), 1000);
    EXPECT_EQ(Conversions::valueToRaw(47.2, 47.2), 1000); // 999.99999999999989 in doubles
}

TEST(Conversions, TruncationStaysDefinedForAnyDouble)
{
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(Conversions::truncateToInt32(1e30), highest);
    EXPECT_EQ(Conversions::truncateToInt32(-1e30), lowest);
    EXPECT_EQ(Conversions::truncateToInt32(std::numeric_limits<double>::infinity()), highest);
    EXPECT_EQ(Conversions::truncateToInt32(std::nan("")), 0);
    EXPECT_EQ(Conversions::truncateToInt32(-878.98), -878);
    EXPECT_EQ(Conversions::valueToRaw(1.0, 0.0), highest);
}

TEST(Conversions, TextsUseAPointAndTheRightLetters)
{
    EXPECT_EQ(Conversions::voltageText(12.0), "12.0 В");
    EXPECT_EQ(Conversions::currentText(12.6), "12.6 A");
    EXPECT_EQ(Conversions::oneDecimal(1e300).size(), 303U);
}

// A step held, read back and sent again, is the same step.
TEST(Conversions, AStepHeldIsItsOwnDecimal)
{
    EXPECT_EQ(Conversions::rawToValue(127, 15.7), 1.9939); // not 1.9938999999999998
    EXPECT_EQ(Conversions::stepText(Conversions::rawToValue(127, 15.7)), "1.9939");
    EXPECT_EQ(Conversions::stepText(Conversions::rawToValue(47, 63.0)), "2.961");
    for (const double fullScale : {15.7, 31.5, 63.0, 47.2, 105.0, 52.5, 21.0, 10.0}) {
        for (std::int32_t raw = 0; raw <= 1000; ++raw) {
            ASSERT_EQ(Conversions::valueToRaw(Conversions::rawToValue(raw, fullScale), fullScale), raw) << fullScale;
        }
    }
}
