#include "FakeInstrument.h"
#include "remote/ScpiSession.h"

#include <QFile>
#include <QTemporaryDir>

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

TEST_F(ScpiCommandSetTest, ListsAreKeptAndAnsweredAndARefusedListChangesNothing)
{
    const struct {
        const char* line;
        const char* answer;
        int code;
    } cases[] = {
        {"LIST:VOLT 5,6.5;VOLT?", "5.000,6.500", 0},
        {"SOUR:LIST:CURR 1;CURR?", "1.000", 0},
        {"LIST:DWEL 1,2500ms;DWEL?", "1.000,2.500", 0},
        {"LIST:COUN INF;COUN?", "9.9E37", 0},
        {"LIST:COUN 2.6;COUN?;POIN?", "3;2", 0},
        {"LIST:VOLT 5,99;:LIST:VOLT?", "", -222},
        {"LIST:CURR 1A,2V", "", -131},
        {"LIST:DWEL 90000", "", -222},
        {"LIST:COUN 0", "", -222},
        {"LIST:COUN 2V", "", -131},
        {"LIST:VOLT", "", -109},
        {"LIST:POIN? 1", "", -108},
        {"LIST:VOLT?;CURR?;DWEL?;COUN?", "5.000,6.500;1.000;1.000,2.500;3", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ask(c.line), c.answer) << c.line;
        EXPECT_EQ(nextErrorCode(), c.code) << c.line;
    }
    std::string tooLong = "LIST:VOLT 1";
    for (int i = 0; i < 1000; ++i) {
        tooLong += ",1";
    }
    EXPECT_EQ(ask(tooLong + ";VOLT?"), "");
    EXPECT_EQ(nextErrorCode(), -223);
    EXPECT_TRUE(supply.voltagesSent.empty());
}

TEST_F(ScpiCommandSetTest, InitiateStartsTheListsAsThisClientsProgram)
{
    EXPECT_EQ(ask("LIST:VOLT 5,6;CURR 1;DWEL 1,0.25;COUN 3;:INIT;SYST:ERR?"), "0,\"No error\"");
    ASSERT_EQ(supply.programsStarted.size(), 1U);
    const ProgramGroup& body = supply.programsStarted.front().body;
    EXPECT_EQ(body.count, 3);
    ASSERT_EQ(body.items.size(), 2U);
    const auto& second = std::get<ProgramStep>(body.items.back().content);
    EXPECT_EQ(second.volts, 6.0);
    EXPECT_EQ(second.amperes, 1.0);
    EXPECT_EQ(std::get<ProgramStep>(body.items.front().content).output, true);
    EXPECT_EQ(second.output, std::nullopt) << "the run's end switches off";
    EXPECT_EQ(second.duration, std::chrono::milliseconds(250));
    EXPECT_EQ(supply.client, 1U);

    ScpiSession other{supply, "1.2.3", 7};
    other.handleLine("VOLT 5;ABOR;LIST:COUN INFinity;VOLT 1;CURR 1;DWEL 1;:INIT:IMM");
    EXPECT_EQ(supply.commandedBy, (std::vector<std::uint64_t>{7}));
    EXPECT_EQ(supply.programStops, 1);
    ASSERT_EQ(supply.programsStarted.size(), 2U);
    EXPECT_EQ(supply.programsStarted.back().body.count, std::nullopt);
    EXPECT_EQ(supply.client, 7U);
}

TEST_F(ScpiCommandSetTest, AnInitiateThatCannotRunSaysWhyInAscii)
{
    const struct {
        const char* lists;
        const char* reason; // the engine's, in Russian
        const char* error;
    } cases[] = {
        {"LIST:VOLT 1,2,3;CURR 1,2;DWEL 1", nullptr, "-221,\"Settings conflict;list lengths differ\""},
        {"LIST:VOLT 1;DWEL 1", nullptr, "-221,\"Settings conflict;a list is empty\""},
        {"LIST:VOLT 1;CURR 1;DWEL 1", "программа уже выполняется",
            "-200,\"Execution error;programma uzhe vypolnyaetsya\""},
        {"LIST:VOLT 1;CURR 1;DWEL 1", "шаг 2: ток в условии «не больше», Вт·ч \"Щ\"",
            "-200,\"Execution error;shag 2: tok v uslovii 'ne bolshe'; Vt.ch 'Shch'\""},
    };
    for (const auto& c : cases) {
        ScpiSession fresh{supply, "1.2.3"};
        supply.refusal.reset();
        if (c.reason != nullptr) {
            supply.refusal = ProgramRefusal{2, Phrase::verbatim(QString::fromUtf8(c.reason))};
        }
        fresh.handleLine(std::string(c.lists) + ";:INIT");
        EXPECT_EQ(fresh.handleLine("SYST:ERR?").text, c.error) << c.lists;
    }
    EXPECT_TRUE(supply.programsStarted.empty());
}

TEST_F(ScpiCommandSetTest, TheProgramsStateStepAndReasonAreAnswered)
{
    using State = RemoteInstrument::ProgramState;
    const struct {
        RemoteInstrument::ProgramStatus status;
        const char* answer;
    } cases[] = {
        {{State::Idle, 0, {}, ""}, "IDLE;0;\"\";0"},
        {{State::Idle, 0, QString::fromUtf8("остановлена условием шага 2"), "condition"}, "IDLE;0;\"condition\";0"},
        {{State::Running, 2, {}, "condition"}, "RUNNING;2;\"\";8"},
        {{State::Paused, 1, QString::fromUtf8("изменены удалённым клиентом"), "done"},
            "PAUSED;1;\"izmeneny udalennym klientom\";0"},
    };
    for (const auto& c : cases) {
        supply.programNow = c.status;
        EXPECT_EQ(ask("PROG:STAT?;STEP?;REAS?;:STAT:OPER:COND?"), c.answer) << c.answer;
    }
    ask("*RST");
    EXPECT_EQ(supply.programStops, 1);
}

TEST_F(ScpiCommandSetTest, AProgramIsLoadedFromABlockOrTheFolderThenStartedPausedAndStopped)
{
    const QTemporaryDir folder;
    QFile file(folder.filePath("two steps.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1,5,1\n2,6,1\n");
    file.close();
    session.setProgramsFolder(folder.path());
    const std::string json = R"({"format": "tendrel-program", "version": 1,
        "steps": [{"voltage_V": 5, "current_A": 1, "output": true, "duration_s": 3}]})";
    const struct {
        std::string line;
        int code;
        std::size_t started;
    } cases[] = {
        {"PROG:STAR", -221, 0},
        {"PROG:LOAD #" + std::to_string(std::to_string(json.size()).size()) + std::to_string(json.size()) + json
                + ";STAR",
            0, 1},
        {"PROG:LOAD \"two steps.csv\";:PROG:STAR", 0, 2},
        {"PROG:LOAD 'two steps.csv'", 0, 2},
        {"PROG:LOAD \"none.json\"", -256, 2},
        {"PROG:LOAD \"../two steps.csv\"", -224, 2},
        {"PROG:LOAD \".hidden\"", -224, 2},
        {"PROG:LOAD 5", -104, 2},
        {"PROG:LOAD #15{\"a\"}", -200, 2},
        {"PROG:LOAD #13x,y", -200, 2},
    };
    for (const auto& c : cases) {
        ask(c.line);
        EXPECT_EQ(nextErrorCode(), c.code) << c.line;
        EXPECT_EQ(supply.programsStarted.size(), c.started) << c.line;
    }
    ASSERT_EQ(supply.programsStarted.size(), 2U);
    EXPECT_EQ(supply.programsStarted.back().body.items.size(), 2U) << "the folder's file, not the block";

    using State = RemoteInstrument::ProgramState;
    supply.programNow.state = State::Running;
    EXPECT_EQ(ask("PROG:PAUS;STAT?"), "PAUSED");
    ask("PROG:PAUS");
    EXPECT_EQ(ask("SYST:ERR?"), "-221,\"Settings conflict;no program running\"");
    EXPECT_EQ(ask("PROG:STAR;STAT?"), "RUNNING") << "a paused program goes on";
    EXPECT_EQ(supply.programsStarted.size(), 2U);
    ask("PROG:STOP");
    EXPECT_EQ(supply.programStops, 1);
}

TEST_F(ScpiCommandSetTest, ProtectionLevelsAreKeptWhileOffAndArmedWhileOn)
{
    const struct {
        const char* line;
        const char* answer;
        int code;
    } cases[] = {
        {"VOLT:PROT?", "31.500", 0},
        {"VOLT:PROT 20;PROT?;PROT:STAT?", "20.000;0", 0},
        {"VOLT:PROT:STAT ON;STAT?", "1", 0},
        {"VOLT:PROT:LEV 18;:VOLT:PROT?", "18.000", 0},
        {"SOUR:CURR:PROT MAX;PROT:STAT 1;:CURR:PROT?", "31.500", 0},
        {"POW:PROT? MAX;POW:PROT? MIN", "992.250;0.280", 0},
        {"POW:PROT 100W;PROT:STAT?", "0", 0},
        {"VOLT:PROT:STAT OFF;:VOLT:PROT?", "18.000", 0},
        {"CURR:PROT 40", "", -222},
        {"VOLT:PROT 5A", "", -131},
        {"POW:PROT:STAT 2", "", -224},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ask(c.line), c.answer) << c.line;
        EXPECT_EQ(nextErrorCode(), c.code) << c.line;
    }
    EXPECT_EQ(supply.armed, (ProtectionLimits{std::nullopt, 31.5, std::nullopt, {}, {}, {}}));
    ask("VOLT:PROT:STAT 1;:POW:PROT:STAT 1");
    EXPECT_EQ(supply.armed, (ProtectionLimits{18.0, 31.5, 100.0, {}, {}, {}}));
}

TEST_F(ScpiCommandSetTest, ATripIsToldUntilCleared)
{
    using Limit = ProtectionLimits::Limit;
    const struct {
        Limit trip;
        const char* answer;
    } cases[] = {
        {Limit::Voltage, "1;0;0;1"},
        {Limit::Current, "0;1;0;2"},
        {Limit::Power, "0;0;1;8"},
        {Limit::Charge, "0;0;0;0"},
    };
    const std::string query = "VOLT:PROT:TRIP?;:CURR:PROT:TRIP?;:POW:PROT:TRIP?;:STAT:QUES:COND?";
    for (const auto& c : cases) {
        supply.trip = c.trip;
        EXPECT_EQ(ask(query), c.answer) << c.answer;
        ask("OUTP:PROT:CLE");
        EXPECT_EQ(ask(query), "0;0;0;0") << c.answer;
    }
}

// A refused command is an error in the queue that says why, without a comma
// in its text, and the rest of its line is not run.
TEST(ScpiRefusals, AreTheGatesReasonsAndStopTheLine)
{
    const struct {
        bool trip;
        bool panelSwitch;
        const char* line;
        const char* why;
        std::vector<double> sent;
    } cases[] = {
        {true, false, "VOLT 5;OUTP ON;VOLT 6", "OUTP:PROT:CLE", {5}},
        {false, true, "VOLT 5;OUTP ON;VOLT 6", "On/Off switch", {}},
        {false, true, "OUTP OFF;VOLT 6", "On/Off switch", {}},
    };
    for (const auto& c : cases) {
        FakeInstrument supply;
        ScpiSession session{supply, "1.2.3"};
        supply.trip = c.trip ? std::optional(ProtectionLimits::Limit::Current) : std::nullopt;
        supply.panelSwitch = c.panelSwitch;
        EXPECT_EQ(session.handleLine(c.line).text, "") << c.line;
        const std::string error = session.handleLine("SYST:ERR?").text;
        EXPECT_EQ(error.rfind("-221,", 0), 0U) << error;
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
        EXPECT_EQ(error.find(',', 5), std::string::npos) << error;
        EXPECT_EQ(supply.toggles, 0) << c.line;
        EXPECT_EQ(supply.voltagesSent, c.sent) << c.line;
    }
}

} // namespace
