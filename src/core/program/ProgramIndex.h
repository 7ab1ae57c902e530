#pragma once

#include "program/Program.h"

#include <vector>

// The steps of a program by their numbers, 1 to size(), in the order the
// file lists them. Holds pointers into the program, which must outlive it.
class ProgramIndex {
public:
    explicit ProgramIndex(const Program& program);

    int size() const { return static_cast<int>(steps_.size()); }
    const ProgramStep& step(int number) const { return *steps_.at(static_cast<std::size_t>(number - 1)); }
    // 0 when the step is not one of the program's.
    int numberOf(const ProgramStep& step) const;

private:
    void add(const ProgramGroup& group);

    std::vector<const ProgramStep*> steps_;
};
