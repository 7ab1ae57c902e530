#include "SupplyFrameParser.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Kind = SupplyFrameParser::Kind;

std::vector<SupplyFrameParser::Frame> parse(const std::vector<std::uint8_t>& bytes)
{
    SupplyFrameParser parser;
    std::vector<SupplyFrameParser::Frame> frames;
    for (const std::uint8_t byte : bytes) {
        if (const auto frame = parser.feed(byte)) {
            frames.push_back(*frame);
        }
    }
    return frames;
}

TEST(SupplyFrameParser, DecodesEachCommandWithItsLittleEndianWord)
{
    const auto frames = parse({1, 0xC8, 0x00, 65, 0xFC, 0x02, 192 + 2, 0xE8, 0x03});
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].kind, Kind::SetCurrent);
    EXPECT_EQ(frames[0].code, 1);
    EXPECT_EQ(frames[0].raw, 200);
    EXPECT_EQ(frames[1].kind, Kind::SetVoltage);
    EXPECT_EQ(frames[1].raw, 764);
    EXPECT_EQ(frames[2].kind, Kind::SetVoltageToggle);
    EXPECT_EQ(frames[2].code, 2);
    EXPECT_EQ(frames[2].raw, 1000);
}

TEST(SupplyFrameParser, TakesThePollByteInsideAFrameAsData)
{
    const auto frames = parse({65, 100, 100, 100});
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].kind, Kind::SetVoltage);
    EXPECT_EQ(frames[0].raw, 100 + 100 * 256);
    EXPECT_EQ(frames[1].kind, Kind::Poll);
}

TEST(SupplyFrameParser, TreatsBytesThatAddressNoModelAsGarbage)
{
    // 0x17 and 11 are beyond the model codes; 129 is a toggle without the voltage flag.
    const auto frames = parse({0x17, 11, 129, 0xFF, 100});
    ASSERT_EQ(frames.size(), 5u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(frames[i].kind, Kind::Garbage);
    }
    EXPECT_EQ(frames[0].raw, 0x17);
    EXPECT_EQ(frames[4].kind, Kind::Poll);
}

TEST(SupplyFrameParser, ReportsWhenItIsInsideAFrame)
{
    SupplyFrameParser parser;
    EXPECT_FALSE(parser.midFrame());
    parser.feed(10);
    EXPECT_TRUE(parser.midFrame());
    parser.feed(0);
    EXPECT_TRUE(parser.midFrame());
    EXPECT_TRUE(parser.feed(0).has_value());
    EXPECT_FALSE(parser.midFrame());
}

} // namespace
