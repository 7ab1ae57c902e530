#pragma once

#include "Action.h"

#include <chrono>
#include <functional>
#include <vector>

// Delta debugging over a failing list of actions, from the shortest tail of
// it that still fails: drops chunks of it, and their complements, as long as
// the rest still fails, down to a list where no single action can go. Each
// try replays a list on a fresh station; a time budget bounds the whole.
class Shrinker {
public:
    // True when the list still shows the failure.
    using Test = std::function<bool(const std::vector<Action>&)>;

    Shrinker(Test test, std::chrono::seconds budget);
    std::vector<Action> shrink(std::vector<Action> failing);
    int tries() const { return tries_; }
    bool finished() const { return finished_; }

private:
    bool fails(const std::vector<Action>& actions);
    bool outOfTime() const;
    static std::vector<std::vector<Action>> split(const std::vector<Action>& actions, std::size_t parts);
    static std::vector<Action> without(const std::vector<std::vector<Action>>& chunks, std::size_t left);
    bool reduce(std::vector<Action>& actions, std::size_t& parts);
    std::vector<Action> shortestTail(std::vector<Action> failing);

    Test test_;
    std::chrono::steady_clock::time_point deadline_;
    int tries_ = 0;
    bool finished_ = false;
};
