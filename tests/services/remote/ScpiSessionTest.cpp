#include "remote/ScpiSession.h"
#include "FakeInstrument.h"

#include <gtest/gtest.h>

namespace {

class ScpiSessionTest : public ::testing::Test {
protected:
    FakeInstrument supply;
    ScpiSession session{supply, "1.2.3"};

    std::string ask(const std::string& line) { return session.handleLine(line).text; }
    // The code of the oldest queued error, 0 for none.
    int nextErrorCode() { return std::stoi(ask("SYST:ERR?")); }
};

TEST_F(ScpiSessionTest, AnswersTheSystemQueries)
{
    EXPECT_EQ(ask("*IDN?"), "Tendrel Electronics,Brisna,0,1.2.3");
    EXPECT_EQ(ask("*idn?"), ask("*IDN?"));
    EXPECT_EQ(ask("*OPC?"), "1");
    EXPECT_EQ(ask("SYST:VERS?"), "1999.0");
    EXPECT_EQ(ask("system:error:next?"), "0,\"No error\"");
    EXPECT_EQ(ask(":SYSTem:LINK?"), "CONNECTED");
    supply.linkState = RemoteInstrument::Link::Searching;
    EXPECT_EQ(ask("SYST:LINK?"), "SEARCHING");
    supply.linkState = RemoteInstrument::Link::NoPort;
    EXPECT_EQ(ask("SYST:LINK?"), "NOPORT");
    EXPECT_EQ(nextErrorCode(), 0);
}

TEST_F(ScpiSessionTest, SetpointsInEveryFormReachTheSupply)
{
    for (const char* line : {"VOLT 12.5", "SOUR:VOLT 12.5V", "volt 1250e-2",
             "VOLTage:LEVel:IMMediate:AMPLitude 12500mV", "VOLT 1.25 E1", "SOURce:VOLTage +12.5 v"}) {
        EXPECT_EQ(ask(line), "") << line;
    }
    EXPECT_EQ(supply.voltagesSent, std::vector<double>(6, 12.5));
    ask("CURR 500mA;CURR 2 A;SOUR:CURR:LEV 3");
    EXPECT_EQ(supply.currentsSent, (std::vector<double>{0.5, 2.0, 3.0}));
    ask("VOLT MAX;CURR min");
    EXPECT_EQ(ask("VOLT?;CURR?"), "31.500;0.400");
    EXPECT_EQ(ask("VOLT? MIN;VOLT? maximum;CURR? MAX"), "0.700;31.500;31.500");
    EXPECT_EQ(nextErrorCode(), 0);
}

TEST_F(ScpiSessionTest, RefusesOutOfRangeValuesWithoutSendingThem)
{
    for (const char* line :
        {"VOLT 31.6", "VOLT 0.6", "VOLT -1", "VOLT 1e999", "CURR 31.51", "CURR 0.3", "CURR 0.2A", "CURR 40000mA"}) {
        EXPECT_EQ(ask(line), "") << line;
        EXPECT_EQ(nextErrorCode(), -222) << line;
    }
    EXPECT_TRUE(supply.voltagesSent.empty());
    EXPECT_TRUE(supply.currentsSent.empty());
    EXPECT_EQ(supply.outOfRangeCalls, 0);
}

TEST_F(ScpiSessionTest, OutputSendsOnlyTheTogglesItNeeds)
{
    ask("OUTP ON");
    ask("OUTPut:STATe 1;OUTP on");
    EXPECT_EQ(supply.toggles, 1);
    EXPECT_EQ(ask("OUTP?"), "1");
    ask("OUTP 0;OUTP OFF");
    EXPECT_EQ(supply.toggles, 2);
    EXPECT_EQ(ask("outp?"), "0");

    ask("VOLT 5;CURR 1;OUTP ON;*RST");
    EXPECT_FALSE(supply.output);
    EXPECT_EQ(ask("VOLT?;CURR?"), "5.000;1.000");
    EXPECT_EQ(nextErrorCode(), 0);
}

TEST_F(ScpiSessionTest, MeasuresFromTheLatestReading)
{
    supply.reading = {12.25, 1.5, true, true, {}};
    EXPECT_EQ(ask("MEAS:VOLT?"), "12.250");
    EXPECT_EQ(ask("MEASure:SCALar:CURRent:DC?"), "1.500");
    EXPECT_EQ(ask("MEAS:POW?"), "18.375");
    EXPECT_EQ(ask("OUTP:MODE?"), "OFF");
    supply.output = true;
    EXPECT_EQ(ask("OUTP:MODE?"), "CV");
    supply.reading.voltageRegulated = false;
    EXPECT_EQ(ask("OUTPut:MODE?"), "CC");
    supply.reading.volts = -0.0;
    EXPECT_EQ(ask("MEAS:VOLT?"), "0.000");
}

TEST_F(ScpiSessionTest, AnswersNothingItCannotVouchFor)
{
    supply.stale = true;
    for (const char* query : {"MEAS:VOLT?", "MEAS:CURR?", "MEAS:POW?", "OUTP:MODE?"}) {
        EXPECT_EQ(ask(query), "") << query;
        EXPECT_EQ(ask("SYST:ERR?"), "-230,\"Data corrupt or stale\"") << query;
    }
    EXPECT_EQ(ask("SYST:LINK?;VOLT?;OUTP?"), "CONNECTED;12.000;0");
    supply.stale = false;
    const std::string unknown = "-200,\"Execution error;setpoint not known\"";
    supply.voltage.reset();
    EXPECT_EQ(ask("CURR?;VOLT? MAX;MEAS:VOLT?;:VOLT?;*OPC?"), "1.500;31.500;12.000");
    EXPECT_EQ(ask("SYST:ERR?"), unknown);
    std::swap(supply.voltage, supply.current);
    EXPECT_EQ(ask("VOLT?;CURR? MIN;CURR?"), "1.500;0.400");
    EXPECT_EQ(ask("SYST:ERR?;SYST:ERR?"), unknown + ";0,\"No error\"");
}

TEST(ScpiSession, TellsEachClientOfItsOwnCommandsTheLinkLost)
{
    using Frame = Quantity;
    struct Case {
        std::string first; // run before the other's
        std::string other;
        Frame frame;
        std::uint64_t from;
        std::uint64_t to;
        std::pair<bool, bool> told;
    };
    const std::vector<Case> cases{
        {"VOLT 5", "VOLT 6", Frame::Voltage, 2, 2, {false, true}},
        {"VOLT 5", "OUTP ON", Frame::Voltage, 1, 2, {true, true}},
        {"VOLT 5", "CURR 2", Frame::Current, 1, 1, {false, true}},
        {"CURR 2;VOLT 5", "CURR 3", Frame::Current, 1, 1, {true, false}},
        {"OUTP ON", "*RST", Frame::Voltage, 2, 9, {false, true}},
        {"VOLT 99;OUTP ON", "", Frame::Voltage, 0, 9, {false, false}},
    };
    const std::string lost = "-200,\"Execution error;link lost, command not sent\"";
    for (const Case& c : cases) {
        FakeInstrument supply;
        ScpiSession first(supply, "1");
        ScpiSession other(supply, "1");
        first.handleLine(c.first);
        other.handleLine(c.other);
        first.commandsDropped(c.frame, c.from, c.to);
        other.commandsDropped(c.frame, c.from, c.to);
        const std::pair told{first.handleLine("SYST:ERR?").text == lost, other.handleLine("SYST:ERR?").text == lost};
        EXPECT_EQ(told, c.told) << c.first << " | " << c.other;
    }
}

TEST_F(ScpiSessionTest, WithoutASupplyOnlyTheSystemAnswers)
{
    supply.present = false;
    for (const char* line : {"MEAS:VOLT?", "MEAS:CURR?", "MEAS:POW?", "OUTP:MODE?", "OUTP?", "VOLT?", "CURR? MAX",
             "VOLT 5", "CURR 1", "OUTP ON"}) {
        EXPECT_EQ(ask(line), "") << line;
        EXPECT_EQ(ask("SYST:ERR?"), "-200,\"Execution error;no supply identified\"") << line;
    }
    EXPECT_EQ(ask("*IDN?"), "Tendrel Electronics,NONE,0,1.2.3");
    ask("*RST");
    EXPECT_EQ(nextErrorCode(), 0);
    EXPECT_EQ(supply.toggles, 0);
}

TEST_F(ScpiSessionTest, QueuesTheErrorOfEachMalformedCommand)
{
    const std::vector<std::pair<std::string, int>> cases{
        {"FOO", -113},
        {"VOLT:FOO 5", -113},
        {"MEAS:VOLT", -113},
        {"*IDN", -113},
        {"*RST?", -113},
        {"VOLT", -109},
        {"VOLT 5,", -109},
        {"OUTP", -109},
        {"VOLT 5,6", -108},
        {"*IDN? 1", -108},
        {"MEAS:VOLT? 1", -108},
        {"VOLT? MIN,MAX", -108},
        {"OUTP MAYBE", -224},
        {"OUTP 2", -224},
        {"VOLT abc", -224},
        {"VOLT? 5", -224},
        {"VOLT 5 A", -131},
        {"CURR 5V", -131},
        {"VOLT 5kV", -131},
        {"VOLT 1.2.3", -100},
        {"VOLT .", -100},
        {"VOLT 0x10", -100},
        {"VOLT \"5", -100},
        {"VOLT:?", -100},
        {"VOLT?x", -100},
        {"12", -100},
        {"*", -100},
        {std::string("VO\0LT 5", 7), -100},
        {"\x01", -100},
    };
    for (const auto& [line, code] : cases) {
        EXPECT_EQ(ask(line), "") << line;
        EXPECT_EQ(nextErrorCode(), code) << line;
        EXPECT_EQ(nextErrorCode(), 0) << line;
    }
    session.lineTooLong();
    EXPECT_EQ(ask("SYST:ERR?"), "-100,\"Command error;line too long\"");
    EXPECT_TRUE(supply.voltagesSent.empty());
}

TEST_F(ScpiSessionTest, RunsALineUpToItsFirstError)
{
    EXPECT_EQ(ask("VOLT 5; OUTP ON ;;*OPC?;"), "1");
    EXPECT_TRUE(supply.output);
    ask("OUTP OFF");
    EXPECT_EQ(ask("*OPC?;VOLT 99;OUTP ON;*OPC?"), "1");
    EXPECT_FALSE(supply.output);
    EXPECT_EQ(nextErrorCode(), -222);
    EXPECT_EQ(nextErrorCode(), 0);
}

TEST_F(ScpiSessionTest, ACommandAfterASemicolonStartsFromThePreviousPath)
{
    EXPECT_EQ(ask("MEAS:VOLT?;CURR?"), "12.000;1.500");
    EXPECT_EQ(ask("MEAS:VOLT?;:VOLT?"), "12.000;12.000");
    EXPECT_EQ(ask("SOUR:VOLT 3;CURR 2;OUTP?"), "0");
    EXPECT_EQ(supply.currentsSent, std::vector<double>{2.0});
    EXPECT_EQ(ask("SYST:ERR?;VERS?;*OPC?;LINK?"), "0,\"No error\";1999.0;1;CONNECTED");
}

TEST_F(ScpiSessionTest, TheErrorQueueIsBoundedAndCleared)
{
    for (std::size_t i = 0; i < ScpiErrorQueue::kCapacity + 4; ++i) {
        ask("FOO");
    }
    for (std::size_t i = 0; i + 1 < ScpiErrorQueue::kCapacity; ++i) {
        EXPECT_EQ(nextErrorCode(), -113);
    }
    EXPECT_EQ(ask("SYST:ERR?"), "-350,\"Queue overflow\"");
    EXPECT_EQ(nextErrorCode(), 0);
    ask("FOO;");
    ask("*CLS");
    EXPECT_EQ(nextErrorCode(), 0);
}

} // namespace
