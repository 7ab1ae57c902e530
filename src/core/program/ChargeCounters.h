#pragma once

#include <chrono>
#include <optional>

// Charge, energy and output-on time integrated from the readings by the
// trapezoid rule on their monotonic times (setting the wall clock adds or
// takes nothing), over intervals whose both ends are linked readings with the
// output on.
class ChargeCounters {
public:
    // A longer interval means the program or the machine stalled: the supply
    // switches its output off when it is not polled, so nothing is counted.
    static constexpr double kMaxIntervalSeconds = 10.0;

    // A clock that runs faster than the steady one (a test's) stretches the gap.
    explicit ChargeCounters(double maxIntervalSeconds = kMaxIntervalSeconds)
        : maxIntervalSeconds_(maxIntervalSeconds)
    {
    }

    struct Sample {
        std::chrono::steady_clock::time_point at;
        double volts = 0.0;
        double amperes = 0.0;
        bool counts = false; // linked, with the output on
    };

    void add(const Sample& sample);
    // Zeroes the totals; the next interval still starts at the last reading.
    void reset();
    // The next reading starts a new interval, as after a lost link.
    void breakInterval() { previous_.reset(); }

    double ampereHours() const { return ampereSeconds_ / 3600.0; }
    double wattHours() const { return wattSeconds_ / 3600.0; }
    double outputOnSeconds() const { return outputOnSeconds_; }

private:
    static bool countable(const Sample& sample);

    double maxIntervalSeconds_;
    std::optional<Sample> previous_;
    double ampereSeconds_ = 0.0;
    double wattSeconds_ = 0.0;
    double outputOnSeconds_ = 0.0;
};
