#include "engine/ProtectionWatch.h"
#include "controller/SupplyController.h"
#include "engine/ProgramClock.h"
#include "link/SupplyLink.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

using Limit = ProtectionLimits::Limit;

struct TripCase {
    const char* name;
    Limit quantity;
    double limit;
    double volts;
    double amperes;
    int readingsBeforeTrip; // at 1 s apart, the output on
};

void PrintTo(const TripCase& c, std::ostream* out)
{
    *out << c.name;
}

ProtectionLimits only(Limit quantity, double value)
{
    ProtectionLimits limits;
    switch (quantity) {
    case Limit::Voltage:
        limits.volts = value;
        break;
    case Limit::Current:
        limits.amperes = value;
        break;
    case Limit::Power:
        limits.watts = value;
        break;
    case Limit::Charge:
        limits.ampereHours = value;
        break;
    case Limit::Energy:
        limits.wattHours = value;
        break;
    case Limit::Time:
        limits.time = std::chrono::seconds(static_cast<int>(value));
        break;
    }
    return limits;
}

class ProtectionTrips : public ::testing::TestWithParam<TripCase> { };

} // namespace

// Each limit trips at the first reading over it, counted from when it was
// armed, and latches until cleared.
TEST_P(ProtectionTrips, AtTheFirstReadingOverTheLimit)
{
    const TripCase& c = GetParam();
    SupplyLink link;
    SupplyController controller(link);
    const ProgramClock clock;
    ProtectionWatch watch(controller, clock);
    watch.setLimits(only(c.quantity, c.limit));
    const auto start = std::chrono::steady_clock::now();
    int readings = 0;
    while (!watch.tripped() && readings < 100) {
        emit controller.measured(Measurement{c.volts, c.amperes, true, true, start + std::chrono::seconds(readings)});
        ++readings;
    }
    EXPECT_EQ(readings - 1, c.readingsBeforeTrip);
    ASSERT_TRUE(watch.tripped());
    EXPECT_EQ(watch.trip()->quantity, c.quantity);
    EXPECT_GT(watch.trip()->value, watch.trip()->limit);
    watch.clear();
    EXPECT_FALSE(watch.tripped());
    EXPECT_EQ(watch.ampereHours(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Protection, ProtectionTrips,
    ::testing::Values(TripCase{"Voltage", Limit::Voltage, 12.0, 12.01, 1.0, 0},
        TripCase{"Current", Limit::Current, 2.0, 5.0, 2.05, 0}, TripCase{"Power", Limit::Power, 10.0, 5.0, 2.1, 0},
        // 36 A for 10 s is 0.1 A·h, reached at the eleventh reading.
        TripCase{"Charge", Limit::Charge, 0.1, 5.0, 36.0, 11}, TripCase{"Energy", Limit::Energy, 0.01, 6.0, 1.0, 7},
        TripCase{"Time", Limit::Time, 5, 5.0, 1.0, 6}),
    [](const auto& info) { return std::string(info.param.name); });
