#include "program/ProgramPlan.h"
#include "ProgramSteps.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::chrono_literals;

namespace {

using Ramp = ProgramStep::Ramp;

ProgramStep untilCurrentFalls(std::chrono::milliseconds maximum)
{
    ProgramStep step;
    step.volts = 14.4;
    step.ends = {{EndCondition::Kind::CurrentAtMost, 0.1}};
    step.maxDuration = maximum;
    return step;
}

ProgramStep ramp(
    Quantity quantity, double from, double to, std::chrono::milliseconds duration, std::chrono::milliseconds maximum)
{
    ProgramStep step = levelStep({}, {}, duration);
    step.ramp = Ramp{quantity, from, to};
    step.maxDuration = maximum;
    return step;
}

ProgramNode group(std::optional<int> count, std::vector<ProgramNode> items)
{
    return {ProgramGroup{count, std::move(items)}};
}

// What one point shows: seconds, volts, amperes, step, and the marks "m" (at
// maximum) and "r" (repeats until stopped).
struct Drawn {
    double seconds;
    double volts;
    double amperes;
    int step;
    std::string marks;
    bool operator==(const Drawn&) const = default;
};

void PrintTo(const Drawn& drawn, std::ostream* out)
{
    *out << drawn.seconds << "s " << drawn.volts << "V " << drawn.amperes << "A #" << drawn.step << drawn.marks;
}

std::vector<Drawn> drawn(const ProgramPlan& plan)
{
    std::vector<Drawn> points;
    for (const ProgramPlan::Point& point : plan.points()) {
        const std::string marks = std::string(point.atMaximum ? "m" : "") + (point.repeatsUntilStopped ? "r" : "");
        points.push_back({point.seconds, point.volts, point.amperes, point.step, marks});
    }
    return points;
}

struct PlanCase {
    const char* name;
    std::vector<ProgramNode> items;
    std::vector<Drawn> points;
    std::optional<double> known;
    std::optional<double> maximum;
};

void PrintTo(const PlanCase& planCase, std::ostream* out)
{
    *out << planCase.name;
}

class ProgramPlanTest : public ::testing::TestWithParam<PlanCase> { };

// Kept values start from 5 V and 1 A.
const PlanCase kCases[] = {
    {"KeptValuesCarryOnAndRampsSlope",
        {{levelStep(12.0, {}, 10s)}, {levelStep({}, 2.0, 5s)}, {ramp(Quantity::Current, 0.0, 3.0, 6s, 6s)}},
        {{0, 12, 1, 1, ""}, {10, 12, 1, 1, ""}, {10, 12, 2, 2, ""}, {15, 12, 2, 2, ""}, {15, 12, 0, 3, ""},
            {21, 12, 3, 3, ""}},
        21.0, 21.0},
    {"AStepEndingOnAMeasurementIsDrawnAtItsMaximum",
        {{untilCurrentFalls(3600s)}, {ramp(Quantity::Voltage, 0.0, 10.0, 20s, 5s)}},
        {{0, 14.4, 1, 1, "m"}, {3600, 14.4, 1, 1, "m"}, {3600, 0, 1, 2, ""}, {3605, 2.5, 1, 2, ""}}, {}, 3605.0},
    {"RepeatedStepsKeepTheirNumbers",
        {group(2, {{levelStep(1.0, 1.0, 1s)}, {levelStep(2.0, 1.0, 1s)}}), {levelStep(3.0, 1.0, 1s)}},
        {{0, 1, 1, 1, ""}, {1, 1, 1, 1, ""}, {1, 2, 1, 2, ""}, {2, 2, 1, 2, ""}, {2, 1, 1, 1, ""}, {3, 1, 1, 1, ""},
            {3, 2, 1, 2, ""}, {4, 2, 1, 2, ""}, {4, 3, 1, 3, ""}, {5, 3, 1, 3, ""}},
        5.0, 5.0},
    {"AGroupUntilStoppedIsDrawnOnceAndNothingAfterIt",
        {{levelStep(1.0, 1.0, 1s)}, group({}, {{levelStep(2.0, 1.0, 1s)}, group(3, {{levelStep(3.0, 1.0, 1s)}})}),
            {levelStep(4.0, 1.0, 1s)}},
        {{0, 1, 1, 1, ""}, {1, 1, 1, 1, ""}, {1, 2, 1, 2, "r"}, {2, 2, 1, 2, "r"}, {2, 3, 1, 3, "r"}, {3, 3, 1, 3, "r"},
            {3, 3, 1, 3, "r"}, {4, 3, 1, 3, "r"}, {4, 3, 1, 3, "r"}, {5, 3, 1, 3, "r"}},
        {}, {}},
};

INSTANTIATE_TEST_SUITE_P(
    Plans, ProgramPlanTest, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST_P(ProgramPlanTest, DrawsTheStepsAsTheyWouldRun)
{
    Program program;
    program.body.items = GetParam().items;
    const ProgramPlan plan = ProgramPlan::of(program, 5.0, 1.0);
    EXPECT_EQ(drawn(plan), GetParam().points);
    EXPECT_EQ(plan.knownSeconds(), GetParam().known);
    EXPECT_EQ(plan.maximumSeconds(), GetParam().maximum);
}

TEST(ProgramPlanLimitTest, AGroupRepeatedBeyondThePointsDrawnStillCountsItsTime)
{
    Program program;
    program.body.items = {group(1'000'000'000, {{levelStep(1.0, 1.0, 2s)}})};
    const ProgramPlan plan = ProgramPlan::of(program);
    EXPECT_EQ(plan.points().size(), ProgramPlan::kMostPoints);
    EXPECT_EQ(plan.maximumSeconds(), 2e9);
}
