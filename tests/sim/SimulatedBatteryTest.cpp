#include "SimulatedBattery.h"
#include "BatteryPack.h"

#include <gtest/gtest.h>

namespace {

using Chemistry = BatteryPack::Chemistry;

TEST(BatteryPack, ReadsEveryChemistryAndForm)
{
    for (const auto& [text, expected] :
        std::vector<std::pair<const char*, BatteryPack>>{{"li-ion:1s2.0Ah:20", {Chemistry::LiIon, 1, 2.0, 0.2}},
            {"LiPo:4S0.5ah", {Chemistry::LiPo, 4, 0.5, 0.5}},
            {"lifepo4:64s1000Ah:100%", {Chemistry::LiFePO4, 64, 1000, 1}},
            {"lead-acid:6s7Ah:0", {Chemistry::LeadAcid, 6, 7, 0}},
            {"agm:6s0.001Ah:12.5", {Chemistry::Agm, 6, 0.001, 0.125}}, {"gel:12s100Ah", {Chemistry::Gel, 12, 100, 0.5}},
            {"nimh:8s2.5Ah:90", {Chemistry::NiMH, 8, 2.5, 0.9}}, {"nicd:10s1Ah:5%", {Chemistry::NiCd, 10, 1, 0.05}}}) {
        EXPECT_EQ(BatteryPack::parse(text), expected) << text;
    }
}

TEST(BatteryPack, RefusesMalformedOrOutOfRange)
{
    for (const char* text : {"", "li-ion", "li-ion:", "lithium:1s2Ah", "li-ion:0s2Ah", "li-ion:65s2Ah", "li-ion:-1s2Ah",
             "li-ion:1s0Ah", "li-ion:1s1001Ah", "li-ion:1s0.0009Ah", "li-ion:1snanAh", "li-ion:1sinfAh", "li-ion:1sAh",
             "li-ion:s2Ah", "li-ion:1s2", "li-ion:1s2Ahx", "li-ion: 1s2Ah", "li-ion:1s2Ah:", "li-ion:1s2Ah:101",
             "li-ion:1s2Ah:-1", "li-ion:1s2Ah:20:1", "li-ion:1s2Ah:20%%"}) {
        EXPECT_FALSE(BatteryPack::parse(text)) << text;
    }
}

struct ChargeRun {
    SimulatedBattery::Terminal last;
    double crossover = -1.0; // state of charge at the first constant-voltage step
    double peakVolts = 0.0;
    double peakAt = 0.0; // state of charge at the peak
    bool tapersSteadily = true; // once in constant voltage, never back and never rising
};

// One-second steps, as a supply polled once a simulated second.
ChargeRun charge(SimulatedBattery& battery, double volts, double amperes, double hours)
{
    ChargeRun run;
    run.last = battery.meet(volts, amperes);
    for (double second = 0; second < hours * 3600; ++second) {
        const SimulatedBattery::Terminal now = battery.meet(volts, amperes);
        if (run.crossover < 0 && now.constantVoltage) {
            run.crossover = battery.stateOfCharge();
        }
        run.tapersSteadily = run.tapersSteadily
            && (run.crossover < 0 || (now.constantVoltage && now.amperes <= run.last.amperes + 1e-12));
        if (now.volts > run.peakVolts) {
            run.peakVolts = now.volts;
            run.peakAt = battery.stateOfCharge();
        }
        run.last = now;
        battery.advance(1.0, now.amperes);
    }
    return run;
}

TEST(SimulatedBattery, ConstantCurrentThenAConstantVoltageThatTapers)
{
    struct Case {
        const char* battery;
        double cellVolts;
        double rateC;
        double hours;
        double crossoverAbove;
        double finalLowC, finalHighC;
    };
    for (const Case& c : {Case{"li-ion:2s2Ah:20", 4.20, 1.0, 4, 0.85, 0.0, 0.01},
             Case{"lifepo4:4s10Ah:20", 3.60, 0.5, 4, 0.95, 0.0, 0.01},
             Case{"lead-acid:6s7Ah:50", 2.45, 0.25, 12, 0.8, 0.01, 0.05},
             Case{"agm:6s7Ah:100", 2.25, 0.25, 4, 0.99, 0.003, 0.02}}) {
        const BatteryPack pack = *BatteryPack::parse(c.battery);
        SimulatedBattery battery(pack);
        const ChargeRun run = charge(battery, c.cellVolts * pack.cells, c.rateC * pack.capacityAh, c.hours);
        EXPECT_GT(run.crossover, c.crossoverAbove) << c.battery;
        EXPECT_TRUE(run.tapersSteadily) << c.battery;
        EXPECT_LE(run.peakVolts, c.cellVolts * pack.cells + 1e-9) << c.battery;
        EXPECT_GE(run.last.amperes, c.finalLowC * pack.capacityAh) << c.battery;
        EXPECT_LE(run.last.amperes, c.finalHighC * pack.capacityAh) << c.battery;
    }
}

TEST(SimulatedBattery, NickelCellsPeakAtFullThenDipWhileOvercharged)
{
    for (const char* text : {"nimh:4s2Ah:80", "nicd:4s1Ah:80"}) {
        const BatteryPack pack = *BatteryPack::parse(text);
        SimulatedBattery battery(pack);
        const ChargeRun run = charge(battery, 2.0 * pack.cells, pack.capacityAh, 0.26);
        EXPECT_LT(run.crossover, 0) << text; // constant current throughout
        EXPECT_NEAR(run.peakVolts / pack.cells, 1.475, 0.025) << text;
        EXPECT_NEAR(run.peakAt, 1.0, 0.03) << text;
        EXPECT_NEAR((run.peakVolts - run.last.volts) / pack.cells, 0.015, 0.005) << text;
    }
}

TEST(SimulatedBattery, ALeakKeepsTheCurrentUpAndDrainsAnIdleBattery)
{
    SimulatedBattery battery(*BatteryPack::parse("li-ion:1s2Ah:20"));
    battery.setLeak(0.3);
    const ChargeRun run = charge(battery, 4.2, 2.0, 4);
    EXPECT_NEAR(run.last.amperes, 0.3, 0.005);
    // Out of the supply: what the cell took plus what the leak drew all along.
    EXPECT_NEAR(battery.ampereHours(), (battery.stateOfCharge() - 0.2) * 2.0 + 0.3 * 4, 1e-6);
    battery.advance(3600, 0.0);
    EXPECT_NEAR(battery.stateOfCharge(), 1.0 - 0.15, 0.001);
    EXPECT_NEAR(battery.simulatedSeconds(), 5 * 3600, 1e-6);
}

} // namespace
