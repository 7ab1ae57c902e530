#pragma once

#include "program/EndCondition.h"

#include <optional>

// How a step ended: by one of its conditions, by its time, or cut short by
// what ended the whole run from outside.
struct StepEnding {
    enum class Interruption { Stop, Trip, LinkLost, Closed };

    int step = 0;
    std::optional<EndCondition> condition;
    // Its maximum duration ran out before its duration or a condition.
    bool atMaxDuration = false;
    std::optional<Interruption> interruption{};
};
