#pragma once

#include "Action.h"
#include "InvariantRun.h"
#include "RunOptions.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// One seed's run (or one list's): its actions, the run, what it found, and
// for each failing check a shrunk list that still fails, written out for replay.
class SeedSession {
public:
    SeedSession(const RunOptions& options, std::ostream& out);

    // True when no enforced check failed.
    bool runSeed(std::uint64_t seed);
    bool runList(const std::string& path);

    // Actions per second over every run so far, and the runs' seconds.
    double seconds() const { return seconds_; }
    std::size_t actions() const { return actions_; }

private:
    bool runActions(const std::string& name, int modelCode, const std::vector<Action>& actions);
    InvariantRun::Settings settings(int modelCode, const std::vector<Action>& actions) const;
    void printResult(const InvariantRun::Result& result);
    void shrink(const std::string& name, int modelCode, const std::vector<Action>& actions, const Violation& found);
    std::string outPath(const std::string& name, const char* extension) const;
    std::string writeList(
        const std::string& file, const std::string& title, int modelCode, const std::vector<Action>& actions) const;

    const RunOptions& options_;
    std::ostream& out_;
    double seconds_ = 0.0;
    std::size_t actions_ = 0;
};
