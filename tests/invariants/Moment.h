#pragma once

#include <chrono>
#include <string>

using Clock = std::chrono::steady_clock;
using Moment = Clock::time_point;

// Times in a run's reports: milliseconds since the run began.
class RunClock {
public:
    static void restart() { zero() = Clock::now(); }
    static long long ms(Moment at)
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(at - zero()).count();
    }
    static std::string stamp(Moment at) { return std::to_string(ms(at)) + " ms"; }

private:
    static Moment& zero()
    {
        static Moment value = Clock::now();
        return value;
    }
};
