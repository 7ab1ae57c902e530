#pragma once

#include <QDateTime>

#include <chrono>

// The clocks a program runs on: the monotonic one schedules, the wall clock
// only answers a time of day. Tests give their own.
class ProgramClock {
public:
    virtual ~ProgramClock() = default;
    virtual std::chrono::steady_clock::time_point now() const { return std::chrono::steady_clock::now(); }
    virtual QDateTime wallNow() const { return QDateTime::currentDateTime(); }
};
