#pragma once

#include "program/Program.h"

#include <cstddef>
#include <optional>
#include <vector>

// The planned voltage and current over time, for the preview: a step that
// ends on a measurement is drawn at its maximum duration, and a group that
// repeats until stopped is drawn once; both are marked. The program's own
// time limit bounds how long it can take, wherever its steps would end.
class ProgramPlan {
public:
    struct Point {
        double seconds = 0.0;
        double volts = 0.0;
        double amperes = 0.0;
        bool outputOn = false;
        int step = 0;
        bool atMaximum = false; // the step may end sooner, on a measurement
        bool repeatsUntilStopped = false;
    };

    // Beyond this many points further repeats only add their time: a group
    // repeated a million times must not stall the window that draws it.
    static constexpr std::size_t kMostPoints = 100000;

    // Values a step keeps start from these.
    static ProgramPlan of(const Program& program, double startVolts = 0.0, double startAmperes = 0.0);

    // Two points per step, at its start and its end, so that a ramp is a slope
    // and a step a level.
    const std::vector<Point>& points() const { return points_; }
    // None when some step ends on a measurement or a group repeats until stopped.
    std::optional<double> knownSeconds() const { return knownSeconds_; }
    // The longest the program can take; none when a group repeats until stopped
    // and no time limit ends it.
    std::optional<double> maximumSeconds() const { return maximumSeconds_; }
    // The program's time limit, where it trips the run before its steps end.
    std::optional<double> timeLimit() const { return timeLimit_; }

private:
    void addRepeated(const ProgramGroup& group, int firstStep, bool untilStopped);
    void addGroup(const ProgramGroup& group, int firstStep, bool untilStopped);
    void addStep(const ProgramStep& step, int number, bool untilStopped);
    void limitTo(double seconds);

    std::vector<Point> points_;
    std::optional<double> knownSeconds_;
    std::optional<double> maximumSeconds_;
    std::optional<double> timeLimit_;
    // Where the steps drawn so far have left the supply.
    Point last_;
    bool endless_ = false;
    bool measured_ = false;
};
