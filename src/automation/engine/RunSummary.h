#pragma once

#include "engine/ProtectionTrip.h"
#include "engine/RunEnd.h"
#include "engine/StepEnding.h"
#include "program/ProgramBattery.h"

#include <QDateTime>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

// What one run of a program did, written beside its recording: for a charge,
// its capacity report.
struct RunSummary {
    QDateTime started;
    QDateTime ended;
    QString endReason;
    RunEnd end = RunEnd::Done;
    double ampereHours = 0.0;
    double wattHours = 0.0;
    // By step number from 1: the time spent in the step, repeats added up.
    std::vector<std::chrono::milliseconds> stepTimes;
    // By step number from 1: how the step last ended; none for one not run.
    std::vector<std::optional<StepEnding>> stepEndings;
    // Running time on the program's clock, pauses left out.
    std::chrono::milliseconds duration{0};
    // How the last step to end did, cut short too; and whether the run ended
    // at a step's condition (one that stops it, or the last step's).
    std::optional<StepEnding> lastEnding;
    bool stoppedByCondition = false;
    std::optional<ProtectionTrip> trip;
    // The last reading with the output on.
    std::optional<double> endVolts;
    std::optional<double> endAmperes;
    std::optional<ProgramBattery> battery;
};
