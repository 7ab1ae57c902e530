#pragma once

#include "program/ProgramStep.h"

#include <optional>
#include <variant>
#include <vector>

struct ProgramNode;

// Steps and groups run in order, a number of times or until stopped.
struct ProgramGroup {
    std::optional<int> count = 1; // none: until stopped
    std::vector<ProgramNode> items;
    bool operator==(const ProgramGroup&) const;
};

// A step or a nested group.
struct ProgramNode {
    std::variant<ProgramStep, ProgramGroup> content;
    bool operator==(const ProgramNode&) const = default;
};

inline bool ProgramGroup::operator==(const ProgramGroup& other) const
{
    return count == other.count && items == other.items;
}
