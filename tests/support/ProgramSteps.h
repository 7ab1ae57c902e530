#pragma once

#include "program/ProgramStep.h"

#include <chrono>
#include <optional>

// A step that holds its setpoints with the output on for exactly its duration.
inline ProgramStep levelStep(
    std::optional<double> volts, std::optional<double> amperes, std::chrono::milliseconds duration)
{
    ProgramStep step;
    step.volts = volts;
    step.amperes = amperes;
    step.output = true;
    step.duration = duration;
    step.maxDuration = duration;
    return step;
}
