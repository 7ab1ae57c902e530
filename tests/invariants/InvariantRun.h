#pragma once

#include "Action.h"
#include "CheckSelection.h"
#include "ViolationBook.h"
#include "link/LinkTiming.h"

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

class ActionRunner;
class InvariantRig;

// One run of a list of actions on a fresh station and supply, judged by the
// checks after every reply.
class InvariantRun {
public:
    struct Settings {
        std::vector<Action> actions;
        int modelCode = 1;
        std::chrono::milliseconds limit{40000};
        CheckSelection checks;
        // Ends the run at the first violation of this check, as a shrink wants.
        std::optional<std::string> stopAt;
        LinkTiming timing;
        bool mqtt = true;
    };

    struct Result {
        bool started = false;
        std::string problem;
        std::vector<Violation> violations;
        std::map<std::string, std::size_t> counts;
        std::size_t issued = 0;
        std::size_t skipped = 0;
        std::uint64_t replies = 0;
        double seconds = 0.0;
        bool mqtt = false;
        std::vector<std::string> frameTail;
        std::vector<std::string> eventTail;
    };

    static Result run(const Settings& settings);
    // Once every action is out: time for what they caused to reach the supply and its observers.
    static constexpr std::chrono::seconds kAfterLast{4};

private:
    static void drive(const Settings& settings, InvariantRig& rig, ActionRunner& actions);
};
