#include "program/ProgramIndex.h"

#include <algorithm>

ProgramIndex::ProgramIndex(const Program& program)
{
    add(program.body);
}

void ProgramIndex::add(const ProgramGroup& group)
{
    for (const ProgramNode& node : group.items) {
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            steps_.push_back(step);
        } else {
            add(std::get<ProgramGroup>(node.content));
        }
    }
}

int ProgramIndex::numberOf(const ProgramStep& step) const
{
    const auto found = std::find(steps_.begin(), steps_.end(), &step);
    return found == steps_.end() ? 0 : static_cast<int>(found - steps_.begin()) + 1;
}
