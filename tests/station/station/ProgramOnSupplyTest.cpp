#include "link/PortList.h"
#include "program/ProgramNumber.h"
#include "station/EventLog.h"
#include "station/SupplyStation.h"

#include "EventLoopWait.h"
#include "SimulatedSupply.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

// The supply side with its program engine on the simulated supply, which has
// 2 Ω across its output; the worker keeps the supply's own pace.
class ProgramOnSupplyTest : public ::testing::Test {
protected:
    static constexpr auto kPollCycle = 400ms;
    // What a loaded machine may add to a poll cycle.
    static constexpr auto kSlack = 250ms;

    void SetUp() override
    {
        ASSERT_TRUE(supply.start());
        ::setenv(PortList::kOverrideVariable, supply.devicePath().c_str(), 1);
        station = std::make_unique<SupplyStation>();
        ASSERT_TRUE(station->settings().listPorts());
        station->start();
        ASSERT_TRUE(spinUntil([&] { return station->controller().live(); }, 5s));
        QObject::connect(&station->programs(), &ProgramEngine::stepStarted, [this](int number) {
            steps.push_back({number, Clock::now()});
        });
    }
    void TearDown() override
    {
        station->shutDown();
        ::unsetenv(PortList::kOverrideVariable);
    }

    ProgramEngine& engine() { return station->programs(); }
    bool run(Program program)
    {
        EXPECT_FALSE(engine().load(std::move(program)));
        supply.clearFrames();
        const auto refusal = engine().start();
        EXPECT_FALSE(refusal) << refusal->reason.toStdString();
        return !refusal;
    }
    // The first command frame written at or after the moment, of the voltage
    // when one is given. The worker may write a frame while the step that
    // queued it is still telling of its start, so a moment may be a little late.
    std::optional<SimulatedSupply::Frame> frameAfter(Clock::time_point moment, std::optional<double> volts = {}) const
    {
        const double full = station->controller().profile().voltageMax;
        for (const auto& frame : supply.commandFrames()) {
            const bool carries = !volts || std::abs(frame.raw - *volts / full * 1000.0) <= 1.0;
            if (frame.lastByteAt >= moment - 50ms && carries && frame.kind != SimulatedSupply::FrameKind::SetCurrent) {
                return frame;
            }
        }
        return std::nullopt;
    }

    SimulatedSupply supply;
    std::unique_ptr<SupplyStation> station;
    std::vector<std::pair<int, Clock::time_point>> steps;
};

ProgramStep step(std::optional<double> volts, std::optional<std::chrono::milliseconds> duration)
{
    ProgramStep result;
    result.volts = volts;
    result.duration = duration;
    result.maxDuration = duration.value_or(10s);
    return result;
}

Program programOf(std::vector<ProgramStep> steps)
{
    Program program;
    for (ProgramStep& each : steps) {
        program.body.items.push_back({std::move(each)});
    }
    return program;
}

} // namespace

// Three steps, the second ending when the current falls: each step's frame
// is on the line within a poll cycle of its moment, the timed ones on the
// schedule from the start, and the end switches the output off. The record
// has the steps and events, and the run's summary lies beside it.
TEST_F(ProgramOnSupplyTest, RunsAProgramWithACurrentConditionOnSchedule)
{
    QTemporaryDir directory;
    ASSERT_TRUE(station->readings().startRecording(directory.filePath("run.csv"), CsvRecorder::Mode::Overwrite));
    ProgramStep first = step(2.0, 1200ms);
    first.amperes = 5.0;
    first.output = true;
    ProgramStep second = step(1.0, std::nullopt);
    second.ends = {{EndCondition::Kind::CurrentAtMost, 0.6}};
    ASSERT_TRUE(run(programOf({first, second, step(3.0, 800ms)})));
    ASSERT_TRUE(spinUntil([&] { return !engine().active(); }, 10s));

    EXPECT_EQ(engine().why(), QStringLiteral("выполнена"));
    ASSERT_EQ(steps.size(), 3U);
    // The first step is heard a little after the start its schedule counts from.
    EXPECT_GE(steps[1].second - steps[0].second, 1200ms - 5ms);
    EXPECT_LE(steps[1].second - steps[0].second, 1200ms + kSlack);
    const double volts[] = {2.0, 1.0, 3.0};
    for (const auto& [number, moment] : steps) {
        const auto frame = frameAfter(moment, volts[number - 1]);
        ASSERT_TRUE(frame) << "step " << number;
        EXPECT_LE(frame->lastByteAt - moment, kPollCycle + kSlack) << "step " << number;
    }
    // The condition is judged on what the supply reads at 1 V: 0.5 A.
    EXPECT_GE(steps[2].second - steps[1].second, kPollCycle);
    ASSERT_TRUE(spinUntil([&] { return !supply.outputOn(); }, 2s));
    EXPECT_EQ(engine().summary()->stepTimes.size(), 3U);

    const std::size_t readings = station->readings().history().size();
    ASSERT_TRUE(spinUntil([&] { return station->readings().history().size() > readings; }, 2s));
    station->readings().stopRecording();
    QFile record(directory.filePath("run.csv"));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(record.readAll());
    for (const char* expected : {",1,start;step\n", ",2,step\n", ",3,step\n", ",,end\n"}) {
        EXPECT_TRUE(lines.contains(QLatin1String(expected))) << expected;
    }
    const QStringList summaries = QDir(directory.path()).entryList({"run.run-*.json"});
    ASSERT_EQ(summaries.size(), 1);
    QFile summary(directory.filePath(summaries.front()));
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    const QString json = QString::fromUtf8(summary.readAll());
    EXPECT_TRUE(json.contains(QString::fromUtf8("\"end_reason\": \"выполнена\"")));
    EXPECT_TRUE(json.contains(QLatin1String("\"end\": \"done\"")));
    // Times carry their offset from UTC, as the recording's do.
    const QRegularExpression started(QStringLiteral(R"re("started": "[0-9T:.-]+([+-][0-9]{2}:[0-9]{2}|Z)")re"));
    EXPECT_TRUE(json.contains(started)) << json.toStdString();
}

// A program whose setpoints pass a limit is refused; a reading over one
// switches the output off in the same poll cycle, stops the program and
// latches: a start is refused until it is cleared.
TEST_F(ProgramOnSupplyTest, ATripSwitchesTheOutputOffWithinAPollCycle)
{
    Clock::time_point trippedAt;
    QObject::connect(
        &station->protection(), &ProtectionWatch::trippedOn, [&](const ProtectionTrip&) { trippedAt = Clock::now(); });
    ProtectionLimits limits;
    limits.volts = 3.0;
    limits.watts = 3.0;
    station->protection().setLimits(limits);
    ProgramStep under = step(2.0, 2s);
    under.output = true;
    ASSERT_FALSE(engine().load(programOf({under, step(4.0, 5s)})));
    EXPECT_EQ(engine().start()->step, 2);
    // 2 V across 2 Ω is 2 W, within the limit; 2.9 V is 4.2 W.
    ASSERT_TRUE(run(programOf({under, step(2.9, 5s)})));
    ASSERT_TRUE(spinUntil([&] { return station->protection().tripped(); }, 10s));

    ASSERT_TRUE(spinUntil([&] { return !supply.outputOn(); }, 2s));
    const auto off = frameAfter(trippedAt);
    ASSERT_TRUE(off);
    EXPECT_EQ(off->kind, SimulatedSupply::FrameKind::SetVoltageToggle);
    EXPECT_LE(off->lastByteAt - trippedAt, kPollCycle);
    EXPECT_FALSE(engine().active());
    EXPECT_TRUE(engine().why().startsWith(QStringLiteral("сработала защита")));
    EXPECT_TRUE(engine().start());
    station->protection().clear();
    EXPECT_FALSE(engine().start());
}

// A lost link pauses the run; by default the supply's return ends it with the
// output off. A command from the window pauses it too, saying why.
TEST_F(ProgramOnSupplyTest, ALostLinkOrTheUserInterrupts)
{
    ProgramStep hold = step(2.0, 30s);
    hold.output = true;
    ASSERT_TRUE(run(programOf({hold})));
    supply.setSilent(true);
    ASSERT_TRUE(spinUntil([&] { return engine().state() == ProgramEngine::State::Paused; }, 5s));
    EXPECT_EQ(engine().why(), QStringLiteral("связь с источником потеряна"));
    supply.setSilent(false);
    ASSERT_TRUE(spinUntil([&] { return !engine().active(); }, 10s));
    EXPECT_EQ(engine().why(), QStringLiteral("связь с источником была потеряна"));

    ASSERT_TRUE(spinUntil([&] { return station->controller().live(); }, 5s));
    ASSERT_TRUE(run(programOf({hold})));
    station->controller().setVoltage(1.0);
    EXPECT_EQ(engine().state(), ProgramEngine::State::Paused);
    EXPECT_EQ(engine().why(), QStringLiteral("уставка или выход изменены вручную"));
    EXPECT_TRUE(engine().resume());
    EXPECT_EQ(engine().state(), ProgramEngine::State::Running);
}

// --program: a file is loaded at once and runs when the supply answers,
// after the supply's own setpoints have been taken up, so the step's hold;
// one that cannot be read is told and nothing runs. A program that resumes
// after a lost link sends its step again at the supply's first reading.
TEST_F(ProgramOnSupplyTest, RunsAProgramFileOnceTheSupplyAnswersAndResumesAfterALoss)
{
    QTemporaryDir directory;
    QFile file(directory.filePath("short.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "tendrel-program", "version": 1, "on_link_return": "resume",
                  "steps": [{"voltage_V": 2.0, "current_A": 3.15, "output": true, "duration_s": 3}]})");
    file.close();
    std::ostringstream messages;
    EXPECT_FALSE(station->runProgramOnceLive(directory.filePath("missing.json"), messages));
    EXPECT_NE(messages.str().find("--program: "), std::string::npos);
    supply.setSilent(true);
    ASSERT_TRUE(spinUntil([&] { return !station->controller().live(); }, 5s));
    ASSERT_TRUE(station->runProgramOnceLive(file.fileName(), messages)) << messages.str();
    EXPECT_FALSE(engine().active());
    supply.setSilent(false);
    const auto holdsTheStep
        = [&] { return supply.outputOn() && supply.currentRaw() == 50 && supply.voltageRaw() == 127; };
    ASSERT_TRUE(spinUntil(holdsTheStep, 5s)) << supply.currentRaw();

    supply.setSilent(true);
    ASSERT_TRUE(spinUntil([&] { return engine().state() == ProgramEngine::State::Paused; }, 5s));
    supply.setSilent(false);
    ASSERT_TRUE(spinUntil([&] { return engine().state() == ProgramEngine::State::Running; }, 5s));
    ASSERT_TRUE(spinUntil(holdsTheStep, 5s)) << supply.currentRaw();
    ASSERT_TRUE(spinUntil([&] { return !engine().active(); }, 8s));
    EXPECT_EQ(engine().why(), QStringLiteral("выполнена"));
}

// --program and the event log speak English, the supply's refusal and pause
// stay Russian in the window.
TEST_F(ProgramOnSupplyTest, TheStreamsSpeakEnglishWhileTheWindowKeepsRussian)
{
    std::ostringstream log;
    EventLog events(log, EventLog::Style::Terminal);
    events.follow(*station);
    QTemporaryDir directory;
    QFile file(directory.filePath("high.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "tendrel-program", "version": 1, "steps": [{"voltage_V": 1000, "duration_s": 3}]})");
    file.close();
    std::ostringstream messages;
    ASSERT_TRUE(station->runProgramOnceLive(file.fileName(), messages));
    const std::string highest = ProgramNumber::text(station->controller().profile().voltageMax);
    EXPECT_EQ(messages.str(), "--program: step 1: voltage 1000 V is above the model's maximum of " + highest + " V\n");
    const auto refused = engine().start();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->reason.toStdString(), "шаг 1: напряжение 1000 В выше предела модели " + highest + " В");

    ProgramStep hold = step(2.0, 30s);
    hold.output = true;
    ASSERT_TRUE(run(programOf({hold})));
    station->controller().setVoltage(1.0);
    EXPECT_EQ(engine().why(), QStringLiteral("уставка или выход изменены вручную"));
    engine().stop();
    const QString told = QString::fromStdString(log.str());
    EXPECT_TRUE(told.contains(QStringLiteral("program paused: setpoint or output changed by hand\n"))) << log.str();
    EXPECT_TRUE(told.contains(QStringLiteral("program ended: stopped by the user\n"))) << log.str();
    EXPECT_FALSE(told.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]")))) << log.str();
}

// A ramp's last frame before its timer is short of its target; the target goes
// out when its time is up, so the next step, which keeps the voltage, holds it.
// That step, stopped, keeps its time: the steps add up to the running time.
TEST_F(ProgramOnSupplyTest, ARampEndsOnItsTargetAndAStoppedStepKeepsItsTime)
{
    QTemporaryDir directory;
    ASSERT_TRUE(station->readings().startRecording(directory.filePath("run.csv"), CsvRecorder::Mode::Overwrite));
    ProgramStep ramp = step(std::nullopt, 2400ms);
    ramp.ramp = ProgramStep::Ramp{Quantity::Voltage, 2.0, 10.0};
    ramp.amperes = 6.0;
    ramp.output = true;
    ASSERT_TRUE(run(programOf({ramp, step(std::nullopt, 30s)})));
    ASSERT_TRUE(spinUntil([&] { return steps.size() == 2; }, 5s));
    spinUntil([] { return false; }, 800ms);
    const double full = station->controller().profile().voltageMax;
    EXPECT_EQ(supply.voltageRaw(), std::lround(station->controller().voltageStep(10.0) / full * 1000.0));

    engine().stop();
    const RunSummary& summary = *engine().summary();
    EXPECT_GE(summary.stepTimes.at(1), 800ms);
    EXPECT_NEAR((summary.stepTimes.at(0) + summary.stepTimes.at(1)).count(), summary.duration.count(), 2);
    const QStringList files = QDir(directory.path()).entryList({"run.run-*.json"});
    ASSERT_EQ(files.size(), 1);
    QFile file(directory.filePath(files.front()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"interrupted_by\": \"stop\""));
}
