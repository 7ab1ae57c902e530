#include "FakeInstrument.h"
#include "remote/ScpiSession.h"

#include <gtest/gtest.h>

namespace {

// Three supplies told apart by model and reading: M1 at 11 V, M2 at 12 V, M3 at 13 V.
struct Bench {
    Bench()
    {
        for (std::size_t i = 0; i < supplies.size(); ++i) {
            supplies.at(i).model = "M" + std::to_string(i + 1);
            supplies.at(i).reading.volts = 11.0 + static_cast<double>(i);
        }
    }

    // Which supplies were sent a setpoint or a switch, channel 1 first.
    std::vector<bool> commanded() const
    {
        return {!supplies[0].commandedBy.empty(), !supplies[1].commandedBy.empty(), !supplies[2].commandedBy.empty()};
    }

    std::array<FakeInstrument, 3> supplies;
    RemoteChannels channels{{&supplies[0], &supplies[1], &supplies[2]}};
};

std::string ask(ScpiSession& session, const std::string& line)
{
    return session.handleLine(line).text;
}

TEST(ScpiChannels, EachWayOfNamingAChannelReachesItAlone)
{
    const struct {
        const char* line;
        const char* answer;
        std::vector<bool> commanded;
    } cases[] = {
        {"SOUR2:VOLT 5", "", {false, true, false}},
        {"OUTP3 ON", "", {false, false, true}},
        {"CH2:CURR 1", "", {false, true, false}},
        {"VOLT 5,(@3)", "", {false, false, true}},
        {"OUTP CH2,ON", "", {false, true, false}},
        {"INST:NSEL 3;VOLT 5;INST:NSEL?;INST?", "3;OUT3", {false, false, true}},
        {"inst:sel outp2;:APPL 5,1", "", {false, true, false}},
        {"SOUR2:VOLT 5;CURR 1;*OPC?;VOLT 6", "1", {false, true, false}},
        {"OUTP2 ON;VOLT 5", "", {true, true, false}},
        {"CH3:VOLT 5;MEAS:VOLT?", "13.000", {false, false, true}},
        {"MEAS2:VOLT?;MEAS:VOLT? CH3;:CH3:MEAS:POW?;:MEAS:VOLT? (@1)", "12.000;13.000;19.500;11.000",
            {false, false, false}},
        {"INST:NSEL 2;*IDN?;SYST:LINK3?", "Tendrel Electronics,M2,0,1;CONNECTED", {false, false, false}},
    };
    for (const auto& c : cases) {
        Bench bench;
        ScpiSession session(bench.channels, "1");
        EXPECT_EQ(ask(session, c.line), c.answer) << c.line;
        EXPECT_EQ(ask(session, "SYST:ERR?"), "0,\"No error\"") << c.line;
        EXPECT_EQ(bench.commanded(), c.commanded) << c.line;
    }
}

TEST(ScpiChannels, AChannelThatIsNotIsRefusedAndNothingIsSent)
{
    const struct {
        const char* line;
        int code;
    } cases[] = {
        {"SOUR4:VOLT 5", -114},
        {"CH0:VOLT 5", -114},
        {"SOUR99999999999999999999999:VOLT 5", -114},
        {"SOUR2:CURR3 1", -114},
        {"VOLT 5,(@4)", -224},
        {"VOLT 5,(@1,2)", -224},
        {"OUTP ON,(@1:3)", -224},
        {"SOUR2:VOLT 5,(@3)", -224},
        {"OUTP CH4,ON", -224},
        {"INST:NSEL 4;VOLT 5", -224},
        {"INST:NSEL -1;VOLT 5", -224},
        {"INST:NSEL 18446744073709551617;VOLT 5", -224},
        {"INST:SEL OUT02;VOLT 5", -224},
    };
    Bench bench;
    ScpiSession session(bench.channels, "1");
    for (const auto& c : cases) {
        EXPECT_EQ(ask(session, c.line), "") << c.line;
        EXPECT_EQ(std::stoi(ask(session, "SYST:ERR?")), c.code) << c.line;
    }
    EXPECT_EQ(bench.commanded(), std::vector<bool>(3));
    EXPECT_EQ(ask(session, "INST:NSEL?"), "1");
}

TEST(ScpiChannels, TheSelectionIsEachClientsOwnAndLastsAcrossLines)
{
    Bench bench;
    ScpiSession first(bench.channels, "1", 1);
    ScpiSession second(bench.channels, "1", 2);
    ask(first, "INST:NSEL 2");
    ask(first, "VOLT 5;SOUR3:VOLT 6");
    ask(second, "VOLT 7");
    EXPECT_EQ(ask(first, "VOLT?;*IDN?"), "5.000;Tendrel Electronics,M2,0,1");
    EXPECT_EQ(ask(second, "INST:NSEL?;*IDN?"), "1;Tendrel Electronics,M1,0,1");
    EXPECT_EQ(bench.supplies[0].voltagesSent, std::vector<double>{7});
}

TEST(ScpiChannels, CompletionWaitsForEveryChannelAndResetReachesEach)
{
    Bench bench;
    FakeInstrument& second = bench.supplies[1];
    ScpiSession session(bench.channels, "1");
    second.heldBack = true;
    EXPECT_TRUE(session.handleLine("SOUR2:VOLT 5;VOLT 6;*OPC?").waiting);
    EXPECT_TRUE(session.resume().waiting);
    second.written = second.tickets;
    EXPECT_EQ(session.resume().text, "1");

    ask(session, "OUTP1 ON;OUTP2 ON;OUTP3 ON;*RST");
    for (const FakeInstrument& supply : bench.supplies) {
        EXPECT_TRUE(!supply.output && supply.programStops == 1);
    }
}

TEST(ScpiChannels, QuestionableSummarisesEveryChannelAndEachHasItsOwnSummary)
{
    Bench bench;
    auto& supplies = bench.supplies;
    ScpiSession session(bench.channels, "1");
    supplies[1].trip = ProtectionLimits::Limit::Current;
    supplies[2].linkState = RemoteInstrument::Link::Searching;
    EXPECT_EQ(ask(session, "STAT:QUES:COND?;INST:ISUM:COND?;:STAT:QUES:INST:ISUM3:COND?"), "1026;0;1024");
    EXPECT_EQ(ask(session, "STAT:QUES:INST:ISUM2?;ISUM2?;ISUM2:COND?;:STAT:QUES?"), "2;0;2;1026");

    ask(session, "SOUR2:VOLT 5");
    session.commandsDropped(Quantity::Voltage, 1, 1, 1);
    session.commandsDropped(Quantity::Voltage, 1, 1, 2);
    session.unknownSetpointSent(4.2, 3);
    EXPECT_EQ(ask(session, "SYST:ERR:ALL?"),
        "-200,\"Execution error;link lost, command not sent on channel 2\","
        "1,\"Voltage setpoint was not known;sent 4.200 V with the output switch on channel 3\"");
}

TEST(ScpiChannels, AProgramLoadedOnAChannelStartsThereAlone)
{
    Bench bench;
    ScpiSession session(bench.channels, "1.2.3");
    const std::string list = "1,5,1\n";
    ask(session, "INST:NSEL 2;:PROG:LOAD #16" + list + ";STAR");
    ask(session, "PROG3:STAR");
    EXPECT_EQ(ask(session, "SYST:ERR?;ERR?"),
        "-221,\"Settings conflict;no program loaded - PROG:LOAD one first\";0,\"No error\"")
        << "channel 3 has no program of its own";
    EXPECT_EQ(bench.supplies[0].programsStarted.size() + bench.supplies[2].programsStarted.size(), 0U);
    EXPECT_EQ(bench.supplies[1].programsStarted.size(), 1U);
}

} // namespace
