#include "remote/ScpiBlock.h"
#include "remote/ScpiLineReader.h"
#include "remote/ScpiNumber.h"
#include "remote/ScpiParser.h"
#include "remote/ScpiPattern.h"

#include <gtest/gtest.h>

namespace {

using Lines = ScpiLineReader::Lines;
using Unit = ScpiNumber::Unit;

double valueOf(std::string_view text, Unit quantity = Unit::Voltage)
{
    const auto parsed = ScpiNumber::parse(text, quantity);
    const auto* number = std::get_if<ScpiNumber>(&parsed);
    return number != nullptr && number->kind() == ScpiNumber::Kind::Value ? number->value() : -999.0;
}

int errorOf(std::string_view text, Unit quantity = Unit::Voltage)
{
    const auto parsed = ScpiNumber::parse(text, quantity);
    const auto* error = std::get_if<ScpiError>(&parsed);
    return error != nullptr ? error->code : 0;
}

} // namespace

TEST(ScpiNumber, ReadsDecimalsExponentsAndUnits)
{
    EXPECT_DOUBLE_EQ(valueOf("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(valueOf(".5"), 0.5);
    EXPECT_DOUBLE_EQ(valueOf("5."), 5.0);
    EXPECT_DOUBLE_EQ(valueOf("-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(valueOf("1.2E1"), 12.0);
    EXPECT_DOUBLE_EQ(valueOf("12e-1 mV"), 0.0012);
    EXPECT_DOUBLE_EQ(valueOf("3 MA", Unit::Current), 0.003);
    EXPECT_DOUBLE_EQ(valueOf("3a", Unit::Current), 3.0);
    EXPECT_DOUBLE_EQ(valueOf(std::string(600, '0') + "7"), 7.0);
    EXPECT_EQ(std::get<ScpiNumber>(ScpiNumber::parse("MINimum", Unit::Current)).kind(), ScpiNumber::Kind::Minimum);
    EXPECT_EQ(ScpiNumber::bound("max"), ScpiNumber::Kind::Maximum);
    EXPECT_EQ(ScpiNumber::bound("MAXI"), std::nullopt);

    EXPECT_EQ(errorOf("1e"), -131); // an 'e' without digits reads as a unit
    EXPECT_EQ(errorOf("5 A"), -131);
    EXPECT_EQ(errorOf("5 mA V"), -100);
    EXPECT_EQ(errorOf("--5"), -100);
    EXPECT_EQ(errorOf("+"), -100);
    EXPECT_EQ(errorOf("1e-99999"), -222);
    EXPECT_EQ(errorOf("nan"), -224);
    EXPECT_EQ(errorOf("inf"), -224);
}

TEST(ScpiPattern, MatchesShortLongAndOptionalNodes)
{
    const ScpiPattern voltage("[SOURce:]VOLTage[:LEVel][:IMMediate]?");
    EXPECT_TRUE(voltage.matches({"VOLT"}, true));
    EXPECT_TRUE(voltage.matches({"SOURCE", "VOLTAGE", "IMM"}, true));
    EXPECT_TRUE(voltage.matches({"SOUR", "VOLT", "LEV", "IMMEDIATE"}, true));
    EXPECT_FALSE(voltage.matches({"VOLT"}, false));
    EXPECT_FALSE(voltage.matches({"VOLTA"}, true));
    EXPECT_FALSE(voltage.matches({"VOLT", "IMM", "LEV"}, true));
    EXPECT_FALSE(voltage.matches({"SOUR"}, true));
    EXPECT_FALSE(voltage.matches({}, true));
    const ScpiPattern measure("MEASure[:SCALar]:CURRent[:DC]?");
    EXPECT_TRUE(measure.matches({"MEAS", "CURR"}, true));
    EXPECT_TRUE(measure.matches({"MEAS", "SCAL", "CURR", "DC"}, true));
    EXPECT_FALSE(measure.matches({"CURR"}, true));
    EXPECT_TRUE(ScpiPattern("*IDN?").matches({"*IDN"}, true));
}

TEST(ScpiLineReader, CutsLinesAtEveryEnding)
{
    ScpiLineReader reader(8);
    EXPECT_EQ(reader.feed("A\nB\r\n\nC"), (Lines{"A", "B", ""}));
    EXPECT_EQ(reader.feed("D\r"), Lines{});
    EXPECT_EQ(reader.feed("\n"), Lines{"CD"});
    EXPECT_EQ(reader.feed("x\ry\n"), Lines{"x\ry"});
}

TEST(ScpiLineReader, DropsEachOverlongLineUpToItsEnd)
{
    ScpiLineReader reader(8);
    EXPECT_EQ(reader.feed("12345678\n12345678\r\n123456789\n"), (Lines{"12345678", "12345678", std::nullopt}));
    // Reported once, as soon as it is too long, however it arrives.
    EXPECT_EQ(reader.feed("1234"), Lines{});
    EXPECT_EQ(reader.feed("56789x"), Lines{std::nullopt});
    EXPECT_EQ(reader.feed(std::string(100000, 'y')), Lines{});
    EXPECT_EQ(reader.feed("zz\nOK\n"), Lines{"OK"});
    ScpiLineReader byteByByte(4);
    Lines lines;
    for (const char c : std::string("abcdef\nab\n")) {
        for (auto& line : byteByByte.feed(std::string_view(&c, 1))) {
            lines.push_back(line);
        }
    }
    EXPECT_EQ(lines, (Lines{std::nullopt, "ab"}));
}

TEST(ScpiLineReader, TakesABlockWholeWithItsNewlines)
{
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"PROG:LOAD #14a\nb\r\nNEXT\n", {"PROG:LOAD #14a\nb\r", "NEXT"}},
        {"PROG:LOAD #209{\n\"x\":1\n}\r\n", {"PROG:LOAD #209{\n\"x\":1\n}"}},
        {"PROG:LOAD #13ab\r\n", {"PROG:LOAD #13ab\r"}},
        // Not blocks: indefinite length, a number's radix, inside a string.
        {"A #0x\nB #H1F\nC \"#15\"\n\n", {"A #0x", "B #H1F", "C \"#15\"", ""}},
        // The block's length does not count towards the line's.
        {"PROG:LOAD #220abcdefghijklmnopqrst\n", {"PROG:LOAD #220abcdefghijklmnopqrst"}},
        // Longer than the largest block: dropped up to the block's end and then the line's.
        {"L #3100" + std::string(100, '\n') + " x\nOK\n", {std::nullopt, "OK"}},
    };
    for (const auto& c : cases) {
        ScpiLineReader whole(16, 50);
        EXPECT_EQ(whole.feed(c.bytes), c.lines) << c.bytes;
        ScpiLineReader byteByByte(16, 50);
        Lines lines;
        for (const char& b : c.bytes) {
            for (auto& line : byteByByte.feed(std::string_view(&b, 1))) {
                lines.push_back(line);
            }
        }
        EXPECT_EQ(lines, c.lines) << c.bytes;
    }
}

TEST(ScpiParser, KeepsABlocksSeparatorsQuotesAndBlanks)
{
    const std::string_view line = "PROG:LOAD #18a;b,\"c \t;:STAT?";
    const auto commands = ScpiParser::split(line);
    ASSERT_EQ(commands.size(), 2U);
    const auto parsed = ScpiParser::parse(commands.front());
    ASSERT_TRUE(std::holds_alternative<ScpiCommand>(parsed));
    const auto& parameters = std::get<ScpiCommand>(parsed).parameters;
    ASSERT_EQ(parameters.size(), 1U);
    EXPECT_EQ(ScpiBlock::data(parameters.front()), "a;b,\"c \t");
    EXPECT_EQ(ScpiBlock::data("#15abc"), std::nullopt) << "shorter than it says";
    EXPECT_EQ(ScpiBlock::data("#13abcd"), std::nullopt) << "more than one block";
}
