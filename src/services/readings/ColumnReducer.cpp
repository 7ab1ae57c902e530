#include "readings/ColumnReducer.h"

#include <cmath>
#include <limits>

ColumnReducer::ColumnReducer(ReadingHistory::Series& out)
    : out_(out)
{
}

void ColumnReducer::add(double seconds, double value)
{
    if (!std::isnan(value)) {
        (gapSeen_ ? after_ : before_).add(seconds, value);
    }
}

void ColumnReducer::gap(double seconds)
{
    if (!gapSeen_) {
        gapSeconds_ = seconds;
    }
    gapSeen_ = true;
}

void ColumnReducer::flush()
{
    before_.emitTo(out_);
    if (gapSeen_ && (out_.values.empty() || !std::isnan(out_.values.back()))) {
        out_.seconds.push_back(gapSeconds_);
        out_.values.push_back(std::numeric_limits<double>::quiet_NaN());
    }
    after_.emitTo(out_);
    before_ = {};
    after_ = {};
    gapSeen_ = false;
}

void ColumnReducer::Run::add(double seconds, double value)
{
    if (!any || value < min) {
        min = value;
        minSeconds = seconds;
    }
    if (!any || value > max) {
        max = value;
        maxSeconds = seconds;
    }
    any = true;
}

void ColumnReducer::Run::emitTo(ReadingHistory::Series& out) const
{
    if (!any) {
        return;
    }
    const bool minFirst = minSeconds <= maxSeconds;
    out.seconds.push_back(minFirst ? minSeconds : maxSeconds);
    out.values.push_back(minFirst ? min : max);
    if (minSeconds != maxSeconds || min != max) {
        out.seconds.push_back(minFirst ? maxSeconds : minSeconds);
        out.values.push_back(minFirst ? max : min);
    }
}
