#pragma once

#include <QDateTime>

#include <chrono>

// The clocks a program runs on: the monotonic one schedules and counts, the
// wall clock only answers a time of day. Tests give their own, which may run
// faster than the steady clock to match a simulated battery's time.
class ProgramClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~ProgramClock() = default;
    virtual TimePoint now() const { return std::chrono::steady_clock::now(); }
    virtual QDateTime wallNow() const { return QDateTime::currentDateTime(); }
    // A reading's steady time on this clock.
    virtual TimePoint at(TimePoint steady) const { return steady; }
    // This clock's seconds per steady second.
    virtual double rate() const { return 1.0; }
};
