#pragma once

#include "program/Program.h"
#include "program/ProgramRefusal.h"
#include "program/ProtectionLimits.h"
#include "supply/ModelProfile.h"

#include <chrono>
#include <optional>

// The checks a program passes before it runs, each naming the first step
// that fails and why.
class ProgramCheck {
public:
    // On loading: every step can end, no dwell or ramp is shorter than the
    // poll cycle, the values are finite and not negative.
    static std::optional<ProgramRefusal> timing(const Program& program, std::chrono::milliseconds pollCycle);
    // Before starting: every setpoint within the model's range and under the
    // armed voltage and current limits; a program of known length within the
    // time limit.
    static std::optional<ProgramRefusal> range(
        const Program& program, const ModelProfile& profile, const ProtectionLimits& limits);
};
