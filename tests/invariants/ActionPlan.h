#pragma once

#include "Action.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ActionDraw;

// The actions of a run, drawn from its seed up front, so that the seed alone
// replays them: the same seed gives the same model and the same actions.
class ActionPlan {
public:
    // The supply's model for the seed: one of the table's six.
    static int modelCode(std::uint64_t seed);
    static std::vector<Action> generate(std::uint64_t seed, std::size_t count);
    // A list as printed, one action a line; lines that are no action are skipped.
    static std::vector<Action> read(const std::string& path);

private:
    static Action drawOne(
        ActionDraw& draw, std::vector<std::pair<std::size_t, std::string>>& restores, std::size_t index);
    static Action simFault(
        ActionDraw& draw, std::vector<std::pair<std::size_t, std::string>>& restores, std::size_t index);
};
