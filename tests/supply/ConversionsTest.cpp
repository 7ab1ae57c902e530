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
    EXPECT_EQ(Conversions::valueToRaw(47.2, 47.2), 999);
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

TEST(Conversions, CommandsTakeTheNearestStepWithinTheLimits)
{
    const struct {
        double value;
        double min;
        double max;
        std::int32_t raw;
    } cases[] = {
        {1.0, 0.5, 63.0, 16}, // 15.87 steps, not the 15 truncation gives
        {0.5, 0.5, 63.0, 8}, // the first step at or above the minimum
        {0.3, 0.3, 15.7, 20}, // 19.1 steps: 19 would fall below the minimum
        {63.0, 0.5, 63.0, 1000},
        {47.2, 0.6, 47.2, 1000}, // where truncation loses the top step
        {std::nan(""), 0.5, 63.0, 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Conversions::nearestRaw(c.value, c.min, c.max, c.max), c.raw) << c.value << " of " << c.max;
    }
}
