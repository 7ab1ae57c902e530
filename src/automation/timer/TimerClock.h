#pragma once

#include <cstdint>
#include <string>

// The count of the timer and stopwatch: seconds left when counting down,
// seconds elapsed when counting up. It follows ticks, not the wall clock.
class TimerClock {
public:
    static constexpr int kStopwatchWrap = 359999; // 99:59:59

    struct Preset {
        std::uint8_t hours = 0;
        std::uint8_t minutes = 0;
        std::uint8_t seconds = 0;
        bool isZero() const { return hours == 0 && minutes == 0 && seconds == 0; }
        int totalSeconds() const { return hours * 3600 + minutes * 60 + seconds; }
    };

    // A fresh run from the preset: down when it is not zero, else up from 0.
    void start(const Preset& preset);
    // One second; true when a countdown has just reached zero.
    bool tick();
    void reset() { count_ = 0; }

    int count() const { return count_; }

    // "%i%i:%i%i:%i%i" of hours, minutes and seconds split into tens and units.
    static std::string format(int hours, int minutes, int seconds);
    static std::string formatCount(int count);

private:
    int count_ = 0;
    bool countingDown_ = false;
};
