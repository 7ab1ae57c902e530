#include "FakeInstrument.h"
#include "remote/ScpiSession.h"

#include <gtest/gtest.h>

namespace {

class ScpiStatusTest : public ::testing::Test {
protected:
    FakeInstrument supply;
    ScpiSession session{supply, "1.2.3"};

    std::string ask(const std::string& line) { return session.handleLine(line).text; }
    int number(const std::string& line) { return std::stoi(ask(line)); }
};

TEST_F(ScpiStatusTest, EachErrorSetsTheEventBitOfItsClassUntilRead)
{
    EXPECT_EQ(number("*ESR?"), 128); // power on, once
    EXPECT_EQ(number("*ESR?"), 0);
    const struct {
        const char* line;
        int bit;
    } cases[] = {{"NOSUCH", 32}, {"*ESE x", 32}, {"VOLT 99", 16}, {"*ESE 256", 16}, {"*ESE -1", 16}, {"*OPC", 1}};
    for (const auto& c : cases) {
        ask(c.line);
        EXPECT_EQ(number("*ESR?"), c.bit) << c.line;
    }
    session.unknownSetpointSent(5.0);
    EXPECT_EQ(number("*ESR?"), 8);
}

TEST_F(ScpiStatusTest, TheStatusByteSummarisesWhatIsEnabled)
{
    ask("*CLS");
    EXPECT_EQ(number("*STB?"), 0);
    ask("NOSUCH");
    EXPECT_EQ(number("*STB?"), 4); // an error waits, its event not enabled
    ask("*ESE 32;*SRE 255");
    EXPECT_EQ(number("*SRE?"), 191); // bit 6 is no enable
    EXPECT_EQ(number("*STB?"), 4 | 32 | 64);
    EXPECT_EQ(ask("*IDN?;*STB?").substr(ask("*IDN?").size() + 1), "116"); // an answer waits too
    ask("SYST:ERR?;*ESR?;*SRE 0");
    EXPECT_EQ(number("*STB?"), 0);
    EXPECT_EQ(number("*ESE?"), 32);
}

TEST_F(ScpiStatusTest, RegulationAndLinkLatchUntilReadAndReachTheStatusByte)
{
    supply.output = true;
    supply.reading.voltageRegulated = true;
    EXPECT_EQ(number("STAT:OPER:COND?"), 256);
    supply.reading.voltageRegulated = false;
    session.sampleConditions();
    EXPECT_EQ(number("STATus:OPERation:CONDition?"), 1024);
    EXPECT_EQ(number("STAT:OPER?"), 256 | 1024);
    EXPECT_EQ(number("STAT:OPER:EVEN?"), 0); // read once

    ask("STAT:OPER:ENAB 1024;STAT:QUES:ENAB 1536");
    supply.output = false;
    supply.linkState = RemoteInstrument::Link::Searching;
    EXPECT_EQ(number("STAT:QUES:COND?"), 1024);
    EXPECT_EQ(number("*STB?"), 8);
    supply.stale = true;
    supply.linkState = RemoteInstrument::Link::Connected;
    EXPECT_EQ(number("STAT:QUES:COND?"), 512);
    supply.output = true;
    EXPECT_EQ(number("*STB?"), 8 | 128);
    ask("*CLS");
    EXPECT_EQ(number("*STB?"), 0);
    EXPECT_EQ(number("STAT:OPER:ENAB?"), 1024); // enables outlive *CLS

    ask("STAT:OPER:PTR 0;NTR 1024"); // now only a fall latches
    supply.output = false;
    EXPECT_EQ(number("STAT:OPER?"), 1024);
    supply.output = true;
    EXPECT_EQ(number("STAT:OPER?"), 0);
    ask("STAT:PRES");
    EXPECT_EQ(ask("STAT:OPER:ENAB?;STAT:QUES:ENAB?;STAT:OPER:PTR?;STAT:OPER:NTR?"), "0;0;32767;0");
}

TEST_F(ScpiStatusTest, EnablesTakeAnyFormOfAWholeNumber)
{
    for (const char* value : {"32", "+32", "32.0", "3.2E1", "31.6"}) {
        ask(std::string("*ESE ") + value);
        EXPECT_EQ(number("*ESE?"), 32) << value;
    }
    ask("*ESE 1e3");
    EXPECT_EQ(ask("SYST:ERR?"), "-222,\"Data out of range\"");
    ask("STAT:OPER:ENAB 65535");
    EXPECT_EQ(number("STAT:OPER:ENAB?"), 32767);
}

TEST_F(ScpiStatusTest, SelfTestPassesOnlyWithASupplyAndThereAreNoOptions)
{
    EXPECT_EQ(ask("*TST?;*OPT?"), "0;0");
    supply.present = false;
    EXPECT_EQ(ask("*TST?"), "1");
    EXPECT_EQ(ask("*WAI;SYST:ERR?"), "0,\"No error\"");
}

} // namespace
