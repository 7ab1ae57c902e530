#pragma once

#include "program/ProgramBattery.h"
#include "program/ProgramGroup.h"
#include "program/ProtectionLimits.h"

#include <functional>
#include <optional>

// A program as its file holds it. Steps are numbered from 1 in the order the
// file lists them, nested groups included; a repeated step keeps its number.
struct Program {
    // What a program paused by a lost link does when the supply answers again.
    enum class LinkReturn { Stop, Resume };

    ProgramGroup body;
    LinkReturn onLinkReturn = LinkReturn::Stop;
    // Armed, with the tighter of these and the user's, while the program runs.
    ProtectionLimits limits{};
    std::optional<ProgramBattery> battery{};

    bool operator==(const Program&) const = default;
};
