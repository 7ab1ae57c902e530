#pragma once

#include "program/EndCondition.h"

#include <optional>

// How a step ended: by one of its conditions, or by its time.
struct StepEnding {
    int step = 0;
    std::optional<EndCondition> condition;
    // Its maximum duration ran out before its duration or a condition.
    bool atMaxDuration = false;
};
