#include "timer/TimerClock.h"

void TimerClock::start(const Preset& preset)
{
    countingDown_ = !preset.isZero();
    count_ = preset.totalSeconds();
}

bool TimerClock::tick()
{
    if (countingDown_) {
        --count_;
        return count_ == 0;
    }
    if (++count_ > kStopwatchWrap) {
        count_ = 0;
    }
    return false;
}

std::string TimerClock::format(int hours, int minutes, int seconds)
{
    return std::to_string(hours / 10) + std::to_string(hours % 10) + ":" + std::to_string(minutes / 10)
        + std::to_string(minutes % 10) + ":" + std::to_string(seconds / 10) + std::to_string(seconds % 10);
}

std::string TimerClock::formatCount(int count)
{
    return format(count / 3600, (count % 3600) / 60, count % 60);
}
