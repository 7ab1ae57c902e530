#include "FakeInstrument.h"
#include "remote/ScpiSession.h"

#include <gtest/gtest.h>

namespace {

class ScpiCommandSetTest : public ::testing::Test {
protected:
    FakeInstrument supply;
    ScpiSession session{supply, "1.2.3"};

    std::string ask(const std::string& line) { return session.handleLine(line).text; }
    int nextErrorCode() { return std::stoi(ask("SYST:ERR?")); }
};

TEST_F(ScpiCommandSetTest, DriversAddressingTheOneChannelAreUnderstood)
{
    const struct {
        const char* line;
        const char* answer;
    } cases[] = {
        {"INST:NSEL 1;VOLT 5", ""},
        {"INST:SEL CH1;CURR 1", ""},
        {"INSTrument OUTPut1", ""},
        {"inst:sel out1;:SOUR1:VOLT 6", ""},
        {"OUTP1 ON", ""},
        {"OUTP OFF,(@1)", ""},
        {"VOLT 7,( @1 )", ""},
        {"MEAS1:VOLT?", "12.000"},
        {"MEAS:CURR? (@1)", "1.500"},
        {"INST?;INST:NSEL?", "OUT1;1"},
        {"FETC:VOLT?;READ:SCAL:CURR:DC?;FETCh:POW?", "12.000;1.500;18.000"},
        {"SYST:REM;SYST:RWL;SYST:LOC", ""},
        {"APPL 8,2;APPL?", "8.000,2.000"},
        {"SOUR1:APPL 9", ""},
        {"CH1:VOLT 10;:OUTP CH1,ON;:OUTP CH1,OFF", ""},
        {"MEAS:POWE? CH1;:SYST:COMM:RLST REM", "18.000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ask(c.line), c.answer) << c.line;
        EXPECT_EQ(nextErrorCode(), 0) << c.line;
    }
    EXPECT_EQ(supply.voltagesSent, (std::vector<double>{5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(supply.currentsSent, (std::vector<double>{1, 2}));
    EXPECT_EQ(supply.toggles, 4);
}

TEST_F(ScpiCommandSetTest, AnotherChannelIsRefusedAndNothingIsSent)
{
    const struct {
        const char* line;
        int code;
    } cases[] = {
        {"INST:NSEL 2;VOLT 5", -224},
        {"INST:SEL CH2;VOLT 5", -224},
        {"SOUR2:VOLT 5", -114},
        {"OUTP0 ON", -114},
        {"OUTP ON,(@2)", -224},
        {"VOLT 5,(@1,2)", -224},
        {"MEAS:VOLT? (@1:2)", -224},
        {"APPL 5,99", -222},
        {"APPL 99,1", -222},
        {"APPL 5,1,2", -108},
        {"CH2:VOLT 5", -114},
        {"OUTP CH2,ON", -224},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ask(c.line), "") << c.line;
        EXPECT_EQ(nextErrorCode(), c.code) << c.line;
    }
    EXPECT_TRUE(supply.voltagesSent.empty());
    EXPECT_TRUE(supply.currentsSent.empty());
    EXPECT_EQ(supply.toggles, 0);
}

TEST_F(ScpiCommandSetTest, TheErrorQueueIsCountedAndReadWhole)
{
    ask("NOSUCH");
    ask("VOLT 99");
    EXPECT_EQ(ask("SYST:ERR:COUN?"), "2");
    EXPECT_EQ(ask("SYST:ERR:ALL?"), "-113,\"Undefined header\",-222,\"Data out of range\"");
    EXPECT_EQ(ask("SYST:ERR:COUN?;SYST:ERR:ALL?"), "0;0,\"No error\"");
}

} // namespace
