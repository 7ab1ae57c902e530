#include "SupplyState.h"
#include "ResistiveLoad.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = SupplyFrameParser::Kind;
using Outcome = SupplyState::Outcome;

// Model 1: 15.7 V and 63.0 A full scale.
SupplyState defaultSupply(bool outputOn = false)
{
    return SupplyState(1, 764, 200, 2.0, outputOn);
}

Bytes answer(const SupplyState& state)
{
    std::mt19937 random(1);
    return state.answerPoll(random);
}

TEST(ResistiveLoad, RegulatesVoltageWhileTheLoadDrawsLessThanTheLimit)
{
    const ResistiveLoad::Reading reading = ResistiveLoad(2.0).read(764, 200, 15.7, 63.0);
    EXPECT_TRUE(reading.constantVoltage);
    EXPECT_EQ(reading.voltageRaw, 764);
    EXPECT_EQ(reading.currentRaw, 95); // 12.0 V / 2 ohms = 6.0 A of 63 A
}

TEST(ResistiveLoad, RegulatesCurrentOnceTheLoadWouldDrawMore)
{
    const ResistiveLoad::Reading reading = ResistiveLoad(0.5).read(764, 200, 15.7, 63.0);
    EXPECT_FALSE(reading.constantVoltage);
    EXPECT_EQ(reading.currentRaw, 200);
    EXPECT_EQ(reading.voltageRaw, 401); // 12.6 A * 0.5 ohms = 6.3 V of 15.7 V
}

TEST(ResistiveLoad, ExactlyAtTheLimitStillRegulatesVoltage)
{
    const ResistiveLoad::Reading reading = ResistiveLoad(1.0).read(500, 500, 31.5, 31.5);
    EXPECT_TRUE(reading.constantVoltage);
    EXPECT_EQ(reading.voltageRaw, 500);
    EXPECT_EQ(reading.currentRaw, 500);
}

TEST(ResistiveLoad, ShortCircuitAndNonsenseLoadsGiveZeroVolts)
{
    for (const double ohms : {0.0, -3.0, std::nan("")}) {
        const ResistiveLoad::Reading reading = ResistiveLoad(ohms).read(764, 200, 15.7, 63.0);
        EXPECT_FALSE(reading.constantVoltage) << ohms;
        EXPECT_EQ(reading.voltageRaw, 0) << ohms;
        EXPECT_EQ(reading.currentRaw, 200) << ohms;
    }
}

TEST(ResistiveLoad, ToRawRoundsAndClamps)
{
    EXPECT_EQ(ResistiveLoad::toRaw(0.4996, 1.0), 500);
    EXPECT_EQ(ResistiveLoad::toRaw(0.4994, 1.0), 499);
    EXPECT_EQ(ResistiveLoad::toRaw(20.0, 10.0), 1000);
    EXPECT_EQ(ResistiveLoad::toRaw(-1.0, 10.0), 0);
    EXPECT_EQ(ResistiveLoad::toRaw(std::nan(""), 10.0), 0);
    EXPECT_EQ(ResistiveLoad::toRaw(1.0, 0.0), 1000);
}

TEST(SupplyState, AnswersWithSetpointsWhileTheOutputIsOff)
{
    EXPECT_EQ(answer(defaultSupply()), (Bytes{1, 0xFC, 0x02, 0xC8, 0x00}));
}

TEST(SupplyState, FlagsConstantVoltageInTheVoltageWord)
{
    // 764 + 1024 = 0x06FC
    EXPECT_EQ(answer(defaultSupply(true)), (Bytes{129, 0xFC, 0x06, 95, 0x00}));
}

TEST(SupplyState, CodeUnknownToTheTableStillAnswers)
{
    SupplyState state(20, 764, 200, 2.0, true);
    // Ten-unit full scales: 7.64 V into 2 ohms exceeds 2 A, so 4.0 V in constant current.
    EXPECT_EQ(answer(state), (Bytes{128 | 20, 0x90, 0x01, 200, 0x00}));
}

TEST(SupplyState, FaultModesOverrideEachOtherInOrder)
{
    SupplyState state = defaultSupply();
    state.setGarbage(true);
    const Bytes noise = answer(state);
    EXPECT_GE(noise.size(), 1u);
    EXPECT_LE(noise.size(), 6u);
    state.setPanelSwitch(true);
    EXPECT_EQ(answer(state), (Bytes{129}));
    state.setSilent(true);
    EXPECT_TRUE(answer(state).empty());
}

TEST(SupplyState, ComingBackFromSilentLeavesTheOutputOff)
{
    SupplyState state = defaultSupply(true);
    state.setSilent(false);
    EXPECT_TRUE(state.outputOn());
    state.setSilent(true);
    state.setSilent(false);
    EXPECT_FALSE(state.outputOn());
}

TEST(SupplyState, AppliesOnlyCommandsItMayObey)
{
    SupplyState state = defaultSupply();
    EXPECT_EQ(state.apply({Kind::SetVoltage, 3, 500}), Outcome::OtherModel);
    state.setPanelSwitch(true);
    EXPECT_EQ(state.apply({Kind::SetVoltage, 1, 500}), Outcome::PanelSwitch);
    state.setSilent(true);
    EXPECT_EQ(state.apply({Kind::SetVoltage, 1, 500}), Outcome::Unpowered);
    EXPECT_EQ(state.voltageRaw(), 764);
}

TEST(SupplyState, ToggleSwitchesTheOutputEachTimeAndSetpointsAreClamped)
{
    SupplyState state = defaultSupply();
    EXPECT_EQ(state.apply({Kind::SetVoltageToggle, 1, 300}), Outcome::Applied);
    EXPECT_TRUE(state.outputOn());
    EXPECT_EQ(state.voltageRaw(), 300);
    state.apply({Kind::SetVoltageToggle, 1, 300});
    EXPECT_FALSE(state.outputOn());
    state.apply({Kind::SetCurrent, 1, 65535});
    EXPECT_EQ(state.currentRaw(), 1000);
}

} // namespace
