#include "program/ProgramCheck.h"
#include "program/ProgramIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace std::chrono_literals;

namespace {

constexpr auto kPoll = 400ms;
const ModelProfile kProfile{1, "", "", 30.0, 5.0, 0.0, 0.0};

// Steps 1 to 4: a level, a group twice of a ramp and a step that ends on a
// measurement, and the output off.
Program program()
{
    ProgramStep level;
    level.volts = 5;
    level.amperes = 1;
    level.output = true;
    level.duration = 1s;
    level.maxDuration = 1s;
    ProgramStep ramp;
    ramp.ramp = ProgramStep::Ramp{Quantity::Voltage, 0, 10};
    ramp.duration = 2s;
    ramp.maxDuration = 2s;
    ProgramStep measured;
    measured.ends = {{EndCondition::Kind::CurrentAtMost, 0.1}};
    measured.maxDuration = 60s;
    ProgramStep off;
    off.output = false;
    off.duration = kPoll;
    off.maxDuration = kPoll;
    return {{1, {{level}, {ProgramGroup{2, {{ramp}, {measured}}}}, {off}}}};
}

ProgramStep& step(Program& program, int number)
{
    return const_cast<ProgramStep&>(ProgramIndex(program).step(number)); // the test's own program
}

ProgramGroup& group(Program& program)
{
    return std::get<ProgramGroup>(program.body.items[1].content);
}

struct Case {
    std::function<void(Program&)> change;
    int step;
    std::string reason;
};

void expectRefusals(
    const std::vector<Case>& cases, const std::function<std::optional<ProgramRefusal>(const Program&)>& check)
{
    for (const Case& one : cases) {
        Program changed = program();
        one.change(changed);
        const std::optional<ProgramRefusal> refused = check(changed);
        ASSERT_TRUE(refused) << one.reason;
        EXPECT_EQ(refused->step, one.step) << one.reason;
        EXPECT_NE(refused->reason.toStdString().find(one.reason), std::string::npos) << refused->reason.toStdString();
    }
}

} // namespace

TEST(ProgramCheckTest, AProgramWithinTheRulesPasses)
{
    EXPECT_FALSE(ProgramCheck::timing(program(), kPoll));
    EXPECT_FALSE(ProgramCheck::range(program(), kProfile, {10.0, 1.0, 1.0, 1.0, 1.0, 1s}));
}

TEST(ProgramCheckTest, TimingRefusesStepsThatCannotEndOrAreShorterThanAPoll)
{
    expectRefusals(
        {
            {[](Program& p) { step(p, 1).duration = 0ms; }, 1, "шаг 1: длительность 0 мс короче цикла опроса 400 мс"},
            {[](Program& p) { step(p, 2).duration = 100ms; }, 2,
                "шаг 2: плавное изменение за 100 мс короче цикла опроса 400 мс"},
            {[](Program& p) { step(p, 3).maxDuration = 399ms; }, 3, "шаг 3: наибольшая длительность 399 мс короче"},
            {[](Program& p) { step(p, 3).maxDuration = 0ms; }, 3, "шаг 3: условие окончания может не наступить"},
            {[](Program& p) { step(p, 4) = {}; }, 4, "шаг 4: ему нечем закончиться"},
            {[](Program& p) { step(p, 4).duration = -1ms; }, 4, "шаг 4: длительность -1 мс меньше нуля"},
            {[](Program& p) { step(p, 1).volts = NAN; }, 1, "шаг 1: напряжение не число"},
            {[](Program& p) { step(p, 1).amperes = -0.5; }, 1, "шаг 1: ток -0.5 A меньше нуля"},
            {[](Program& p) { step(p, 2).ramp->to = INFINITY; }, 2,
                "шаг 2: напряжение в конце плавного изменения не число"},
            {[](Program& p) { step(p, 3).ends[0].value = -1; }, 3, "шаг 3: ток в условии «не больше» -1 A меньше нуля"},
            {[](Program& p) {
                 step(p, 3).ends = {{EndCondition::Kind::TimeOfDay, 86400}};
             },
                3, "не меньше суток"},
            {[](Program& p) { step(p, 2).volts = 1; }, 2, "шаг 2: напряжение задано и уставкой, и плавным изменением"},
            {[](Program& p) { step(p, 2).duration.reset(); }, 2, "шаг 2: у плавного изменения нет длительности"},
            {[](Program& p) { group(p).count = 0; }, 2, "шаг 2: его группа повторяется 0 раз"},
            {[](Program& p) {
                 group(p) = {std::nullopt, {{ProgramGroup{}}}};
             },
                0, "пустая группа после шага 1 повторяется до остановки"},
        },
        [](const Program& p) { return ProgramCheck::timing(p, kPoll); });
}

TEST(ProgramCheckTest, RangeRefusesSetpointsOutsideTheModelOrTheLimits)
{
    ProtectionLimits none;
    expectRefusals(
        {
            {[](Program& p) { step(p, 1).volts = 31; }, 1, "шаг 1: напряжение 31 В выше предела модели 30 В"},
            {[](Program& p) { step(p, 1).amperes = 5.5; }, 1, "шаг 1: ток 5.5 A выше предела модели 5 A"},
            {[](Program& p) { step(p, 2).ramp->to = 30.5; }, 2,
                "шаг 2: напряжение в конце плавного изменения 30.5 В выше предела модели 30 В"},
            {[](Program& p) { step(p, 4).volts = -0.1; }, 4,
                "шаг 4: напряжение -0.1 В ниже наименьшего для модели 0 В"},
        },
        [&](const Program& p) { return ProgramCheck::range(p, kProfile, none); });

    ProtectionLimits armed;
    armed.volts = 8.0;
    EXPECT_EQ(ProgramCheck::range(program(), kProfile, armed)->reason,
        "шаг 2: напряжение в конце плавного изменения 10 В выше защитного предела 8 В");
    armed = {};
    armed.amperes = 0.5;
    EXPECT_EQ(ProgramCheck::range(program(), kProfile, armed)->reason, "шаг 1: ток 1 A выше защитного предела 0.5 A");
    ModelProfile raised = kProfile;
    raised.voltageMin = 1.0;
    EXPECT_EQ(ProgramCheck::range(program(), raised, none)->step, 2); // the ramp starts at 0 V
}

TEST(ProgramCheckTest, RangeRefusesAProgramOfKnownLengthOverTheTimeLimit)
{
    Program timed = program();
    step(timed, 3).ends.clear(); // 1 s + 2 × (2 s + 60 s) + 0.4 s
    ProtectionLimits limits;
    limits.time = 125s;
    const std::optional<ProgramRefusal> refused = ProgramCheck::range(timed, kProfile, limits);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->step, 0);
    EXPECT_EQ(refused->reason, "программа длится 125.4 с, дольше предела времени 125 с");
    limits.time = 126s;
    EXPECT_FALSE(ProgramCheck::range(timed, kProfile, limits));
    limits.time = 1s;
    EXPECT_FALSE(ProgramCheck::range(program(), kProfile, limits)); // step 3 may end at any time
    group(timed).count.reset();
    EXPECT_FALSE(ProgramCheck::range(timed, kProfile, limits));
}
