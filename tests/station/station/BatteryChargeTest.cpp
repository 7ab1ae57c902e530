#include "link/PortList.h"
#include "program/ChargeProfile.h"
#include "station/SupplyStation.h"

#include "EventLoopWait.h"
#include "SimulatedSupply.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace std::chrono_literals;

namespace {

// The programs' clock running as fast as the simulated battery's, so that
// both count the same hours while a charge takes seconds.
class ScaledClock : public ProgramClock {
public:
    explicit ScaledClock(double rate)
        : rate_(rate)
    {
    }
    TimePoint now() const override { return at(std::chrono::steady_clock::now()); }
    TimePoint at(TimePoint steady) const override
    {
        return origin_ + std::chrono::duration_cast<TimePoint::duration>((steady - origin_) * rate_);
    }
    double rate() const override { return rate_; }

private:
    double rate_;
    TimePoint origin_ = std::chrono::steady_clock::now();
};

struct Bench {
    int model = 1;
    const char* battery;
    double timeScale;
};

// A charge profile on the simulated supply with a battery across it.
class BatteryChargeTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (station) {
            station->shutDown();
        }
        ::unsetenv(PortList::kOverrideVariable);
    }

    void connect(const Bench& bench)
    {
        SimulatedSupply::Options options;
        options.modelCode = bench.model;
        options.battery = BatteryPack::parse(bench.battery);
        options.timeScale = bench.timeScale;
        options.recordFrames = false;
        supply = std::make_unique<SimulatedSupply>(options);
        ASSERT_TRUE(supply->start());
        ::setenv(PortList::kOverrideVariable, supply->devicePath().c_str(), 1);
        station = std::make_unique<SupplyStation>(
            SerialPortFactory{}, LinkTiming{}, std::make_unique<ScaledClock>(bench.timeScale));
        ASSERT_TRUE(station->settings().listPorts());
        station->start();
        ASSERT_TRUE(spinUntil([&] { return station->controller().live(); }, 5s));
        ASSERT_TRUE(spinUntil([&] { return !station->controller().adoptingReadings(); }, 5s));
    }

    // Runs the profile to its end; the summary of the run.
    RunSummary charge(const ChargeParameters& parameters, std::chrono::seconds timeout)
    {
        const ChargeProfile::Made made = ChargeProfile::make(parameters, station->controller().profile());
        EXPECT_TRUE(made.program) << made.refusal.toStdString();
        ProgramEngine& engine = station->programs();
        EXPECT_FALSE(engine.load(*made.program));
        const auto refusal = engine.start();
        EXPECT_FALSE(refusal) << refusal->reason.toStdString();
        EXPECT_TRUE(spinUntil([&] { return !engine.active(); }, timeout)) << "still in step " << engine.progress().step;
        return engine.summary().value_or(RunSummary{});
    }

    static ChargeParameters lithium(double capacityAh, double amperes)
    {
        ChargeParameters parameters = ChargeParameters::defaults(Chemistry::LiIon);
        parameters.capacityAh = capacityAh;
        parameters.amperes = amperes;
        return parameters;
    }

    std::unique_ptr<SimulatedSupply> supply;
    std::unique_ptr<SupplyStation> station;
};

} // namespace

// Constant current, then constant voltage until the current tapers to C/10:
// the charge counted is what flowed into the battery, and the end leaves the
// output off.
TEST_F(BatteryChargeTest, ALithiumCellEndsOnItsTaperHavingTakenWhatTheBatteryCounted)
{
    connect({1, "li-ion:1s2.0Ah:20", 300});
    // Nothing can be counted before the first reading that shows the output
    // on, a second or two after the switch: at this time scale, minutes.
    std::optional<double> unseen;
    QObject::connect(&station->controller(), &SupplyController::measured, [&](const Measurement& measurement) {
        if (measurement.outputOn && !unseen) {
            unseen = supply->battery()->ampereHours;
        }
    });
    const RunSummary summary = charge(lithium(2.0, 1.0), 120s);
    ASSERT_TRUE(summary.lastEnding);
    EXPECT_EQ(summary.lastEnding->step, 3);
    EXPECT_EQ(summary.lastEnding->condition->kind, EndCondition::Kind::CurrentAtMost);
    EXPECT_TRUE(summary.stoppedByCondition);
    EXPECT_FALSE(summary.trip);
    EXPECT_LE(*summary.endAmperes, 0.2);
    const double counted = supply->battery()->ampereHours - unseen.value_or(0.0);
    EXPECT_NEAR(summary.ampereHours, counted, 0.05 * counted);
    EXPECT_GT(summary.ampereHours, 1.0);
    ASSERT_TRUE(spinUntil([&] { return !supply->outputOn(); }, 2s));
    // The user's limits, none, are back once the charge's own are done with.
    EXPECT_FALSE(station->protection().limits().any());
}

// -dV is ignored while the hold-off lasts and ends the charge after it.
TEST_F(BatteryChargeTest, ANickelPackEndsOnMinusDeltaVAfterTheHoldOff)
{
    connect({1, "nimh:8s2.0Ah:60", 150});
    ChargeParameters parameters = ChargeParameters::defaults(Chemistry::NiMH);
    parameters.cells = 8;
    parameters.amperes = 2.0;
    parameters.plateau.reset();
    const RunSummary summary = charge(parameters, 120s);
    ASSERT_TRUE(summary.lastEnding);
    EXPECT_EQ(summary.lastEnding->step, 3);
    EXPECT_EQ(summary.lastEnding->condition->kind, EndCondition::Kind::VoltageDrop);
    EXPECT_GE(summary.stepTimes.at(1), std::chrono::milliseconds(parameters.holdOff));
    EXPECT_FALSE(summary.trip);
}

// A cell that leaks more than the taper current never tapers: the time
// backstop, armed as the program's limit, cuts its taper short.
TEST_F(BatteryChargeTest, ACellThatNeverTapersEndsOnTheTimeBackstop)
{
    connect({2, "li-ion:1s1.0Ah:50", 500});
    supply->setBatteryLeak(0.15);
    const RunSummary summary = charge(lithium(1.0, 1.0), 120s);
    ASSERT_TRUE(summary.trip);
    EXPECT_EQ(summary.trip->quantity, ProtectionLimits::Limit::Time);
    EXPECT_EQ(summary.lastEnding->step, 3);
    EXPECT_EQ(summary.lastEnding->interruption, StepEnding::Interruption::Trip);
    EXPECT_EQ(summary.stepEndings.at(1)->condition->kind, EndCondition::Kind::BecomesCv);
    EXPECT_TRUE(station->protection().tripped());
}

// Two cells in series taken for one: the first reading is over the ceiling.
TEST_F(BatteryChargeTest, ACellAboveItsCeilingIsRefused)
{
    connect({1, "li-ion:2s2.0Ah:50", 1});
    const RunSummary summary = charge(lithium(2.0, 1.0), 10s);
    ASSERT_TRUE(summary.trip);
    EXPECT_EQ(summary.trip->quantity, ProtectionLimits::Limit::Voltage);
    EXPECT_LT(summary.ampereHours, 0.001);
    ASSERT_TRUE(spinUntil([&] { return !supply->outputOn(); }, 2s));
}

// Bulk, absorption until the current tapers or its time is up, then float.
TEST_F(BatteryChargeTest, TheLeadAcidProfileReachesFloat)
{
    connect({1, "agm:6s10Ah:85", 300});
    ChargeParameters parameters = ChargeParameters::defaults(Chemistry::LeadAgm);
    parameters.capacityAh = 10.0;
    parameters.amperes = 2.0;
    parameters.absorptionMax = 60min;
    parameters.floatTime = 10min;
    const RunSummary summary = charge(parameters, 60s);
    EXPECT_EQ(summary.endReason, QStringLiteral("выполнена"));
    ASSERT_EQ(summary.stepTimes.size(), 4U);
    EXPECT_NEAR(summary.stepTimes[3].count(), 600000, 60000);
    EXPECT_FALSE(summary.trip);
}
