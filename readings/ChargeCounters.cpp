#include "readings/ChargeCounters.h"

#include <cmath>

bool ChargeCounters::countable(const Reading& reading)
{
    return reading.linked && reading.outputOn && std::isfinite(reading.voltage) && std::isfinite(reading.current);
}

void ChargeCounters::add(const Reading& reading)
{
    if (previous_ && countable(*previous_) && countable(reading)) {
        // In double: the difference of two arbitrary time points may not fit their integer type.
        const double seconds = std::chrono::duration<double>(reading.time.time_since_epoch()).count()
            - std::chrono::duration<double>(previous_->time.time_since_epoch()).count();
        if (seconds > 0.0 && seconds <= kMaxIntervalSeconds) {
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
