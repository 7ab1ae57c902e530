#pragma once

#include "program/EndCondition.h"

#include <chrono>
#include <optional>
#include <vector>

// Where a running program stands, for its window and the remote query.
struct ProgramProgress {
    struct Condition {
        EndCondition condition;
        // The value it watches now, in its unit (for -dV, the fall below the peak).
        std::optional<double> present;
    };

    int step = 0; // the running step's number; 0 while none runs
    int steps = 0;
    std::chrono::milliseconds inStep{0};
    std::chrono::milliseconds elapsed{0};
    // Until the step's duration or its maximum, whichever is sooner.
    std::chrono::milliseconds stepLeft{0};
    // None where a step ends on a measurement or a group repeats until stopped.
    std::optional<std::chrono::milliseconds> remaining;
    std::vector<Condition> conditions;
};
