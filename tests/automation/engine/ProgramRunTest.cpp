#include "engine/ProgramRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

using Clock = ProgramRun::Clock;
const Clock::time_point kStart = Clock::time_point(5h);
const QDateTime kNoon(QDate(2026, 12, 9), QTime(12, 0));

ProgramStep timed(std::chrono::milliseconds duration, std::optional<double> volts = {})
{
    ProgramStep step;
    step.volts = volts;
    step.duration = duration;
    step.maxDuration = duration;
    return step;
}

ProgramStep until(EndCondition condition, std::chrono::milliseconds maximum = 100s)
{
    ProgramStep step;
    step.output = true;
    step.ends = {condition};
    step.maxDuration = maximum;
    return step;
}

ProgramGroup group(std::optional<int> count, std::vector<ProgramStep> steps)
{
    ProgramGroup result{count, {}};
    for (ProgramStep& step : steps) {
        result.items.push_back({std::move(step)});
    }
    return result;
}

// A run whose commands are written down; the supply resolves 0.1 V and 0.01 A.
struct Bench {
    explicit Bench(Program program)
        : program(std::move(program))
        , run(this->program, commands())
    {
    }

    ProgramRun::Commands commands()
    {
        return {[this](double v) { sent.push_back("V" + std::to_string(std::lround(v * 100))); },
            [this](double a) { sent.push_back("I" + std::to_string(std::lround(a * 100))); },
            [this](bool on) { sent.push_back(on ? "on" : "off"); }, [](double v) { return std::round(v * 10) / 10; },
            [](double a) { return std::round(a * 100) / 100; }, [this](int number) { steps.push_back(number); }};
    }

    bool reading(std::chrono::milliseconds at, double volts, double amperes, bool cv = true, bool shows = true)
    {
        return run.take(Measurement{volts, amperes, cv, true, kStart + at}, shows, kNoon.addMSecs(at.count()));
    }

    Program program;
    ProgramRun run;
    std::vector<std::string> sent;
    std::vector<int> steps;
};

Program programOf(std::vector<ProgramNode> items, std::optional<int> count = 1)
{
    Program program;
    program.body = ProgramGroup{count, std::move(items)};
    return program;
}

struct Sample {
    double volts;
    double amperes;
    bool cv;
};

struct ConditionCase {
    const char* name;
    EndCondition condition;
    std::vector<Sample> readings; // one a second
    std::size_t endsAt; // the reading that ends the step
};

void PrintTo(const ConditionCase& c, std::ostream* out)
{
    *out << c.name;
}

class EndConditions : public ::testing::TestWithParam<ConditionCase> { };

} // namespace

// Each condition ends its step at the first reading that meets it, and the
// next step starts at that reading.
TEST_P(EndConditions, EndTheStepAtTheFirstReadingThatMeetsThem)
{
    const ConditionCase& c = GetParam();
    Bench bench(programOf({{until(c.condition)}, {timed(10s, 1.0)}}));
    ASSERT_TRUE(bench.run.begin(kStart, kNoon));
    for (std::size_t i = 0; i < c.readings.size(); ++i) {
        const auto& [volts, amperes, cv] = c.readings[i];
        bench.reading(std::chrono::seconds(i), volts, amperes, cv);
        EXPECT_EQ(bench.run.stepNumber(), i < c.endsAt ? 1 : 2) << "reading " << i;
    }
    EXPECT_EQ(*bench.run.deadline(), kStart + std::chrono::seconds(c.endsAt) + 10s);
}

using Kind = EndCondition::Kind;
INSTANTIATE_TEST_SUITE_P(Program, EndConditions,
    ::testing::Values(
        ConditionCase{"CurrentAtMost", {Kind::CurrentAtMost, 0.1}, {{5, 1, 1}, {5, 0.11, 1}, {5, 0.1, 1}}, 2},
        ConditionCase{"CurrentAtLeast", {Kind::CurrentAtLeast, 2}, {{5, 1, 1}, {5, 2.5, 0}}, 1},
        ConditionCase{"VoltageAtMost", {Kind::VoltageAtMost, 3}, {{5, 1, 0}, {3.1, 1, 0}, {2.9, 1, 0}}, 2},
        ConditionCase{"VoltageAtLeast", {Kind::VoltageAtLeast, 4.2}, {{4, 1, 0}, {4.2, 1, 0}}, 1},
        // 1 A for 3.6 s is 1 mA·h.
        ConditionCase{"Charge", {Kind::Charge, 0.001}, {{5, 1, 0}, {5, 1, 0}, {5, 1, 0}, {5, 1, 0}, {5, 1, 0}}, 4},
        ConditionCase{"Energy", {Kind::Energy, 0.01}, {{10, 1, 0}, {10, 1, 0}, {10, 1, 0}, {10, 2, 0}, {10, 2, 0}}, 4},
        ConditionCase{"BecomesCv", {Kind::BecomesCv, 0}, {{5, 1, 0}, {5, 1, 0}, {5, 1, 1}}, 2},
        ConditionCase{"BecomesCc", {Kind::BecomesCc, 0}, {{5, 1, 1}, {5, 1, 0}}, 1},
        // Peaks at 1.50 V; a fall of 0.05 V is not yet the 0.1 V asked for.
        ConditionCase{"VoltageDrop", {Kind::VoltageDrop, 0.1},
            {{1.4, 1, 0}, {1.5, 1, 0}, {1.45, 1, 0}, {1.48, 1, 0}, {1.39, 1, 0}}, 4},
        // The peak rises until reading 2; three seconds later nothing has risen above it.
        ConditionCase{"VoltageFlat", {Kind::VoltageFlat, 3},
            {{1.4, 1, 0}, {1.45, 1, 0}, {1.5, 1, 0}, {1.5, 1, 0}, {1.49, 1, 0}, {1.5, 1, 0}}, 5}),
    [](const auto& info) { return std::string(info.param.name); });

// A condition that stops ends the program there with the output off, and
// the run tells which step and condition it was.
TEST(ProgramRun, AStoppingConditionEndsTheProgramAndSaysHow)
{
    ProgramStep check = until({Kind::VoltageAtMost, 2.0, true});
    check.ends.push_back({Kind::VoltageAtLeast, 3.0});
    Bench bench(programOf({{check}, {until({Kind::BecomesCv, 0})}}));
    ASSERT_TRUE(bench.run.begin(kStart, kNoon));
    EXPECT_FALSE(bench.reading(0s, 1.8, 0.2, false));
    EXPECT_TRUE(bench.run.stoppedByCondition());
    EXPECT_FALSE(bench.run.leavesOutputOn());
    ASSERT_TRUE(bench.run.lastEnding());
    EXPECT_EQ(bench.run.lastEnding()->step, 1);
    EXPECT_EQ(bench.run.lastEnding()->condition, check.ends.front());
    EXPECT_EQ(bench.steps, std::vector<int>{1});
}

// Readings from before the supply answered for the step's commands, or with
// the output off, judge nothing: they show the previous step.
TEST(ProgramRun, JudgesOnlyReadingsThatShowTheStep)
{
    Bench bench(programOf({{until({Kind::CurrentAtMost, 0.1})}, {timed(1s)}}));
    bench.run.begin(kStart, kNoon);
    bench.reading(1s, 5, 0.0, true, false);
    bench.run.take(Measurement{0, 0, false, false, kStart + 2s}, true, kNoon);
    EXPECT_EQ(bench.run.stepNumber(), 1);
    // Its maximum duration still ends it.
    bench.run.advance(kStart + 100s, kNoon);
    EXPECT_EQ(bench.run.stepNumber(), 2);
}

// A ramp goes out at every reading whose value is a new step of the supply,
// each step once, and ends exactly on its target.
TEST(ProgramRun, RampsAtTheSupplysResolutionAndThePollRate)
{
    ProgramStep ramp = timed(10s);
    ramp.ramp = ProgramStep::Ramp{Quantity::Voltage, 0.0, 1.0};
    ramp.amperes = 0.5;
    Bench bench(programOf({{ramp}}));
    bench.run.begin(kStart, kNoon);
    for (auto at = 400ms; at <= 10s; at += 400ms) {
        bench.reading(at, 0, 0);
    }
    const std::vector<std::string> expected{
        "V0", "I50", "V10", "V20", "V30", "V40", "V50", "V60", "V70", "V80", "V90", "V100"};
    EXPECT_EQ(bench.sent, expected);
}

// Groups nest and repeat; a group repeated until stopped never ends.
TEST(ProgramRun, WalksNestedGroupsInOrder)
{
    ProgramGroup inner = group(3, {timed(1s)});
    ProgramGroup outer{2, {{timed(1s)}, {inner}, {timed(1s)}}};
    Bench bench(programOf({{outer}}));
    bench.run.begin(kStart, kNoon);
    for (auto at = 1s; at <= 10s; at += 1s) {
        bench.run.advance(kStart + at, kNoon);
    }
    EXPECT_EQ(bench.steps, (std::vector<int>{1, 2, 2, 2, 3, 1, 2, 2, 2, 3}));
    EXPECT_TRUE(bench.run.ended());

    Bench endless(programOf({{group(std::nullopt, {timed(1s)})}}));
    endless.run.begin(kStart, kNoon);
    EXPECT_TRUE(endless.run.advance(kStart + 1h, kNoon));
    EXPECT_EQ(endless.steps.size(), 3601U);
    EXPECT_FALSE(endless.run.progress(kStart + 1h).remaining);
}

// Steps keep their moments from the start however late the timer wakes, so
// a thousand 1 s steps end at 1000 s; pausing moves the rest by the pause.
TEST(ProgramRun, KeepsItsScheduleOverALongRun)
{
    Bench bench(programOf({{group(1000, {timed(1s)})}}));
    bench.run.begin(kStart, kNoon);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> lateness(0, 300);
    for (int k = 1; k < 1000; ++k) {
        ASSERT_EQ(*bench.run.deadline(), kStart + std::chrono::seconds(k));
        bench.run.advance(*bench.run.deadline() + std::chrono::milliseconds(lateness(random)), kNoon);
    }
    EXPECT_EQ(bench.run.progress(kStart + 999s).remaining, 1s);
    bench.run.pause(kStart + 999s + 500ms);
    EXPECT_FALSE(bench.run.deadline());
    bench.run.resume(kStart + 1009s + 500ms);
    EXPECT_EQ(*bench.run.deadline(), kStart + 1010s);
    EXPECT_FALSE(bench.run.advance(kStart + 1010s, kNoon));
    std::chrono::milliseconds total{0};
    for (const auto time : bench.run.stepTimes()) {
        total += time;
    }
    EXPECT_EQ(total, 1000s);
}

// A time of day ends the step at its next such moment; the end leaves the
// output on only when the last step asked for it.
TEST(ProgramRun, EndsAtATimeOfDayAndLeavesTheOutputAsTheLastStepSays)
{
    Bench bench(programOf({{until({Kind::TimeOfDay, 12 * 3600 + 30}, 1h)}}));
    bench.run.begin(kStart, kNoon);
    EXPECT_EQ(*bench.run.deadline(), kStart + 30s);
    EXPECT_FALSE(bench.run.advance(kStart + 30s, kNoon.addSecs(30)));
    EXPECT_TRUE(bench.run.leavesOutputOn());

    Bench kept(programOf({{timed(1s)}}));
    kept.run.begin(kStart, kNoon.addSecs(3600));
    EXPECT_FALSE(kept.run.leavesOutputOn());
}

// A step switches on after its setpoints and off before them, so the output
// never runs at a value the step did not give it.
TEST(ProgramRun, AStepSwitchesOnAfterItsSetpointsAndOffBeforeThem)
{
    ProgramStep on = timed(1s, 5.0);
    on.amperes = 1.0;
    on.output = true;
    ProgramStep off = timed(1s, 30.0);
    off.output = false;
    Bench bench(programOf({{on}, {off}}));
    bench.run.begin(kStart, kNoon);
    bench.run.advance(kStart + 1s, kNoon);
    EXPECT_EQ(bench.sent, (std::vector<std::string>{"V500", "I100", "on", "off", "V3000"}));
}

// Readings catch a 4 s ramp at most at 3.6 s; its timer ends it, and the
// target goes out then, before the next step's commands.
TEST(ProgramRun, ARampEndsOnItsTargetWhenItsTimeIsUp)
{
    using Ramp = ProgramStep::Ramp;
    const std::pair<Ramp, std::vector<std::string>> cases[]
        = {{{Quantity::Voltage, 2.0, 10.0}, {"V920", "V1000", "on"}},
            {{Quantity::Current, 1.5, 0.5}, {"I60", "I50", "on"}}};
    for (const auto& [ramp, tail] : cases) {
        ProgramStep ramped = timed(4s);
        ramped.ramp = ramp;
        ProgramStep next = timed(2s);
        next.output = true;
        Bench bench(programOf({{ramped}, {next}}));
        bench.run.begin(kStart, kNoon);
        for (auto at = 400ms; at < 4s; at += 400ms) {
            bench.reading(at, 0, 0);
        }
        bench.run.advance(kStart + 4s + 30ms, kNoon);
        EXPECT_EQ(std::vector(bench.sent.end() - 3, bench.sent.end()), tail);
    }
}

// Whatever cuts a run short, the running step keeps its time up to then, or
// to its pause, so the steps add up to the run's time; its ending says why.
TEST(ProgramRun, AStepCutShortKeepsItsTimeAndSaysWhatCutIt)
{
    using By = StepEnding::Interruption;
    const std::pair<By, bool> cases[] = {{By::Stop, false}, {By::Trip, false}, {By::LinkLost, true}};
    for (const auto& [by, paused] : cases) {
        Bench bench(programOf({{timed(1s)}, {until({Kind::CurrentAtMost, 0.1})}, {timed(1s)}}));
        bench.run.begin(kStart, kNoon);
        bench.run.advance(kStart + 1s, kNoon);
        if (paused) {
            bench.run.pause(kStart + 3s);
        }
        bench.run.halt(kStart + 5s, by);
        const std::chrono::milliseconds running = paused ? 2s : 4s;
        EXPECT_EQ(bench.run.stepTimes(), (std::vector<std::chrono::milliseconds>{1s, running, 0s}));
        EXPECT_EQ(bench.run.runTime(kStart + 9s), 1s + running);
        EXPECT_EQ(bench.run.lastEnding()->step, 2);
        EXPECT_EQ(bench.run.lastEnding()->interruption, by);
        EXPECT_FALSE(bench.run.endedByCondition());
        EXPECT_FALSE(bench.run.stepEndings().at(0)->interruption);
    }
}
