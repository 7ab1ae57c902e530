#include "program/ChargeProfile.h"
#include "program/ChemistryPractice.h"
#include "program/ProgramCheck.h"
#include "program/ProgramFile.h"
#include "program/ProgramIndex.h"
#include "supply/ModelTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Model 1: 15.7 V and 63 A full scale, so steps of 15.7 mV and 63 mA, and 0.6 A at the least.
ModelProfile model1()
{
    return *ModelTable::find(1);
}

struct Case {
    const char* name;
    Chemistry chemistry;
    int cells;
    double capacityAh;
    double amperes;
    std::vector<std::string> stages; // empty: refused
    const char* refusal;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class ChargeProfileCases : public ::testing::TestWithParam<Case> { };

std::vector<std::string> stagesOf(const Program& program)
{
    const ProgramIndex index(program);
    std::vector<std::string> names;
    for (int number = 1; number <= index.size(); ++number) {
        names.push_back(index.step(number).name);
    }
    return names;
}

TEST_P(ChargeProfileCases, MakesTheChemistrysStagesOrSaysWhyNot)
{
    const Case& c = GetParam();
    ChargeParameters parameters = ChargeParameters::defaults(c.chemistry);
    parameters.cells = c.cells;
    parameters.capacityAh = c.capacityAh;
    parameters.amperes = c.amperes;
    const ChargeProfile::Made made = ChargeProfile::make(parameters, model1());
    if (c.stages.empty()) {
        EXPECT_FALSE(made.program);
        EXPECT_NE(made.refusal.toStdString().find(c.refusal), std::string::npos) << made.refusal.toStdString();
        return;
    }
    ASSERT_TRUE(made.program) << made.refusal.toStdString();
    const Program& program = *made.program;
    EXPECT_EQ(stagesOf(program), c.stages);
    // What the engine would load and start, and what a file keeps.
    EXPECT_FALSE(ProgramCheck::timing(program, 400ms));
    EXPECT_FALSE(ProgramCheck::range(program, model1(), program.limits));
    EXPECT_EQ(ProgramFile::fromJson(ProgramFile::toJson(program)).program, program);
    // Never above what was asked for, and within one of the supply's steps of it.
    const double asked = parameters.voltsPerCell * c.cells;
    EXPECT_LE(made.resolution.chargeVolts, asked);
    EXPECT_GT(made.resolution.chargeVolts, asked - model1().voltageMax / 1000.0);
    EXPECT_GT(*program.limits.volts, made.resolution.chargeVolts);
    EXPECT_DOUBLE_EQ(*program.limits.ampereHours, ChemistryPractice::of(c.chemistry).maxChargeFactor * c.capacityAh);
    EXPECT_TRUE(program.limits.time);
}

INSTANTIATE_TEST_SUITE_P(OnModel1, ChargeProfileCases,
    ::testing::Values(Case{"LithiumTooSmallToPrecharge", Chemistry::LiIon, 1, 2.0, 1.0,
                          {"Проверка и предзаряд", "Постоянный ток", "Постоянное напряжение"}, ""},
        Case{"LithiumPack", Chemistry::LiIon, 3, 10.0, 5.0,
            {"Проверка и предзаряд", "Постоянный ток", "Постоянное напряжение"}, ""},
        Case{"LiFePO4", Chemistry::LiFePO4, 4, 2.0, 1.0,
            {"Проверка и предзаряд", "Постоянный ток", "Постоянное напряжение"}, ""},
        Case{"LeadWithFloat", Chemistry::LeadAgm, 6, 7.0, 1.4,
            {"Проверка и предзаряд", "Основной заряд", "Насыщение", "Поддержание"}, ""},
        Case{"NickelEightCells", Chemistry::NiMH, 8, 2.0, 2.0,
            {"Проверка и предзаряд", "Выдержка без −ΔV", "Заряд до −ΔV"}, ""},
        Case{"TaperBelowTwoCurrentSteps", Chemistry::LiIon, 1, 0.5, 0.7, {}, "ток окончания 0.05 А"},
        Case{"DropBelowTwoVoltageSteps", Chemistry::NiMH, 4, 2.0, 2.0, {}, "−ΔV батареи 0.02 В"},
        Case{"PackAboveTheSupply", Chemistry::LiIon, 4, 2.0, 1.0, {}, "вне пределов источника"},
        Case{"CurrentBelowTheSupplysLeast", Chemistry::LiIon, 1, 2.0, 0.3, {}, "ток заряда 0.3 А"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(ChargeProfile, ALowCellIsPrechargedWhereTheSupplyCanSetTheSmallCurrent)
{
    ChargeParameters parameters = ChargeParameters::defaults(Chemistry::LiIon);
    parameters.capacityAh = 10.0;
    parameters.amperes = 5.0;
    const ChargeProfile::Made made = ChargeProfile::make(parameters, model1());
    ASSERT_TRUE(made.resolution.prechargeAmperes);
    EXPECT_NEAR(*made.resolution.prechargeAmperes, 0.945, 1e-9); // C/10, a step at or below 1 A
    const ProgramStep& check = ProgramIndex(*made.program).step(1);
    EXPECT_EQ(check.amperes, made.resolution.prechargeAmperes);
    // Below 2.0 V it stops; a cell that does not come up in half an hour stops too.
    EXPECT_EQ(check.ends.front(), (EndCondition{EndCondition::Kind::VoltageAtMost, 2.0, true}));
    EXPECT_EQ(check.ends.back().kind, EndCondition::Kind::Charge);
    EXPECT_TRUE(check.ends.back().stops);
    EXPECT_NEAR(check.ends.back().value, 0.945 * 0.5, 1e-9);
    EXPECT_EQ(ChargeProfile::timeLimit(parameters, true), std::chrono::seconds(std::lround(4.5 * 3600)));
}

} // namespace
