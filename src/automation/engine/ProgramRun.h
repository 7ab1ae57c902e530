#pragma once

#include "controller/Measurement.h"
#include "engine/ProgramProgress.h"
#include "engine/StepEnding.h"
#include "program/ChargeCounters.h"
#include "program/Program.h"
#include "program/ProgramIndex.h"

#include <QDateTime>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

// One run of a program, free of any clock or supply of its own: told the
// time and the readings, it walks the steps and groups and says what to send.
// A step's moment is the previous one's plus its duration, so timers that
// fire late add no error; a step ended by a reading starts the next at it.
class ProgramRun {
public:
    using Clock = std::chrono::steady_clock;

    struct Commands {
        std::function<void(double)> voltage;
        std::function<void(double)> current;
        std::function<void(bool)> output;
        // The value the supply would hold for one asked for, at its resolution.
        std::function<double(double)> nearestVoltage;
        std::function<double(double)> nearestCurrent;
        // After a step's commands have been given.
        std::function<void(int number)> stepBegun;
    };

    // A longer gap between readings counts no charge: see ChargeCounters.
    ProgramRun(
        const Program& program, Commands commands, double maxReadingGapSeconds = ChargeCounters::kMaxIntervalSeconds);

    // Starts the first step; false when the program has none.
    bool begin(Clock::time_point now, const QDateTime& wall);
    // Ends each step whose time has come; false once the program has ended.
    bool advance(Clock::time_point now, const QDateTime& wall);
    // A reading; `showsStep` once the supply has answered for the step's
    // commands, as conditions are judged only on such. False once ended.
    bool take(const Measurement& measurement, bool showsStep, const QDateTime& wall);
    void pause(Clock::time_point now);
    // Gives the step's commands again and goes on with its time.
    void resume(Clock::time_point now);
    // Ends the run from outside, crediting the running step with its time.
    void halt(Clock::time_point now, StepEnding::Interruption by);

    bool ended() const { return step_ == nullptr; }
    // When the running step ends unless a reading ends it sooner.
    std::optional<Clock::time_point> deadline() const;
    int stepNumber() const { return step_ ? index_.numberOf(*step_) : 0; }
    int stepCount() const { return index_.size(); }
    // The last step asked for the output on: the end leaves it so, unless a
    // condition stopped the program.
    bool leavesOutputOn() const { return !stopped_ && lastOutput_.value_or(false); }
    bool stoppedByCondition() const { return stopped_; }
    // The run came to its end at a step's condition: one that stops it, or
    // the last step's.
    bool endedByCondition() const;
    // How the last step to end did; none before one has.
    const std::optional<StepEnding>& lastEnding() const { return lastEnding_; }
    ProgramProgress progress(Clock::time_point now) const;
    // From the start to now, or to the end once ended; pauses left out.
    std::chrono::milliseconds runTime(Clock::time_point now) const;
    const std::vector<std::chrono::milliseconds>& stepTimes() const { return stepTimes_; }
    // By step number from 1: how the step last ended; none for one not ended.
    const std::vector<std::optional<StepEnding>>& stepEndings() const { return stepEndings_; }
    double ampereHours() const { return total_.ampereHours(); }
    double wattHours() const { return total_.wattHours(); }

private:
    struct Level {
        const ProgramGroup* group = nullptr;
        std::size_t index = 0;
        int pass = 0;
    };

    bool seek();
    void beginStep(Clock::time_point at, const QDateTime& wall);
    void endStep(Clock::time_point at, StepEnding ending);
    StepEnding timeEnding() const;
    void sendStep(Clock::time_point now);
    void followRamp(Clock::time_point now);
    double rampValue(Clock::time_point now) const;
    bool conditionHolds(const EndCondition& condition) const;
    std::optional<double> present(const EndCondition& condition) const;
    std::optional<std::chrono::milliseconds> remainingAfterStep() const;
    std::chrono::milliseconds timeInStep(Clock::time_point now) const;
    double secondsSincePeak() const;

    const Program& program_;
    ProgramIndex index_;
    Commands commands_;
    std::vector<Level> stack_;
    const ProgramStep* step_ = nullptr;
    Clock::time_point start_;
    Clock::time_point stepStart_;
    std::optional<Clock::time_point> timeOfDay_;
    std::optional<Clock::time_point> pausedAt_;
    std::optional<double> rampSent_;
    std::optional<bool> lastOutput_;
    std::optional<Measurement> reading_;
    std::optional<double> peakVolts_;
    Clock::time_point peakAt_;
    bool stopped_ = false;
    Clock::time_point lastEndAt_;
    std::optional<StepEnding> lastEnding_;
    ChargeCounters stepCharge_;
    ChargeCounters total_;
    std::vector<std::chrono::milliseconds> stepTimes_;
    std::vector<std::optional<StepEnding>> stepEndings_;
};
