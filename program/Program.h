#pragma once

#include "program/ProgramGroup.h"

#include <functional>

// A program as its file holds it. Steps are numbered from 1 in the order the
// file lists them, nested groups included; a repeated step keeps its number.
struct Program {
    // What a program paused by a lost link does when the supply answers again.
    enum class LinkReturn { Stop, Resume };

    ProgramGroup body;
    LinkReturn onLinkReturn = LinkReturn::Stop;

    bool operator==(const Program&) const = default;
};
