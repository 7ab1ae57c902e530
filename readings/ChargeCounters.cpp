#include "readings/ChargeCounters.h"

#include <cmath>

bool ChargeCounters::countable(const Reading& reading)
{
    return reading.linked && reading.outputOn && std::isfinite(reading.voltage) && std::isfinite(reading.current);
}

void ChargeCounters::add(const Reading& reading)
{
    if (previous_ && countable(*previous_) && countable(reading)) {
        // The difference of two arbitrary time points may not fit their integer type.
        std::chrono::steady_clock::rep ticks = 0;
        const bool fits = !__builtin_sub_overflow(
            reading.monotonic.time_since_epoch().count(), previous_->monotonic.time_since_epoch().count(), &ticks);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::duration(ticks)).count();
        if (fits && seconds > 0.0 && seconds <= kMaxIntervalSeconds) {
            ampereSeconds_ += (previous_->current + reading.current) / 2.0 * seconds;
            wattSeconds_
                += (previous_->voltage * previous_->current + reading.voltage * reading.current) / 2.0 * seconds;
            outputOnSeconds_ += seconds;
        }
    }
    previous_ = reading;
}

void ChargeCounters::reset()
{
    ampereSeconds_ = 0.0;
    wattSeconds_ = 0.0;
    outputOnSeconds_ = 0.0;
}
