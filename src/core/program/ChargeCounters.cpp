#include "program/ChargeCounters.h"

#include <cmath>

bool ChargeCounters::countable(const Sample& sample)
{
    return sample.counts && std::isfinite(sample.volts) && std::isfinite(sample.amperes);
}

void ChargeCounters::add(const Sample& sample)
{
    if (previous_ && countable(*previous_) && countable(sample)) {
        // The difference of two arbitrary time points may not fit their integer type.
        std::chrono::steady_clock::rep ticks = 0;
        const bool fits = !__builtin_sub_overflow(
            sample.at.time_since_epoch().count(), previous_->at.time_since_epoch().count(), &ticks);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::duration(ticks)).count();
        if (fits && seconds > 0.0 && seconds <= maxIntervalSeconds_) {
            ampereSeconds_ += (previous_->amperes + sample.amperes) / 2.0 * seconds;
            wattSeconds_ += (previous_->volts * previous_->amperes + sample.volts * sample.amperes) / 2.0 * seconds;
            outputOnSeconds_ += seconds;
        }
    }
    previous_ = sample;
}

void ChargeCounters::reset()
{
    ampereSeconds_ = 0.0;
    wattSeconds_ = 0.0;
    outputOnSeconds_ = 0.0;
}
