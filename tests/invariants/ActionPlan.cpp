#include "ActionPlan.h"

#include "ActionDraw.h"
#include "supply/ModelTable.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace {

using Kind = Action::Kind;

// How often each kind is drawn, out of the sum.
constexpr std::array<std::pair<Kind, int>, 17> kWeights{{
    {Kind::TypeVoltage, 8},
    {Kind::TypeCurrent, 7},
    {Kind::PressOn, 5},
    {Kind::PressOff, 4},
    {Kind::TimerStart, 2},
    {Kind::TimerStop, 2},
    {Kind::TimerContinue, 1},
    {Kind::HotApply, 4},
    {Kind::Scpi, 22},
    {Kind::Mqtt, 9},
    {Kind::ProgramStart, 4},
    {Kind::ProgramPause, 1},
    {Kind::ProgramResume, 1},
    {Kind::ProgramStop, 2},
    {Kind::Protect, 5},
    {Kind::ProtectClear, 4},
    {Kind::Sim, 11},
}};

Kind drawKind(ActionDraw& draw)
{
    int total = 0;
    for (const auto& [kind, weight] : kWeights) {
        total += weight;
    }
    int pick = draw.below(total);
    for (const auto& [kind, weight] : kWeights) {
        if (pick < weight) {
            return kind;
        }
        pick -= weight;
    }
    return Kind::Sim;
}

} // namespace

int ActionPlan::modelCode(std::uint64_t seed)
{
    return 1 + static_cast<int>(seed % 6);
}

std::vector<Action> ActionPlan::generate(std::uint64_t seed, std::size_t count)
{
    const ModelProfile model = *ModelTable::find(modelCode(seed));
    ActionDraw draw(seed, model);
    // Each fault is put right again a few actions later; the list stays flat.
    std::vector<std::pair<std::size_t, std::string>> restores;
    std::vector<Action> actions;
    while (actions.size() < count) {
        const auto due = std::find_if(restores.begin(), restores.end(),
            [&actions](const auto& restore) { return restore.first <= actions.size(); });
        if (due != restores.end()) {
            actions.push_back({draw.gapMs(), draw.chance(25), Kind::Sim, due->second});
            restores.erase(due);
            continue;
        }
        actions.push_back(drawOne(draw, restores, actions.size()));
    }
    return actions;
}

Action ActionPlan::drawOne(
    ActionDraw& draw, std::vector<std::pair<std::size_t, std::string>>& restores, std::size_t index)
{
    Action action{draw.gapMs(), draw.chance(25), drawKind(draw), {}};
    switch (action.kind) {
    case Kind::TypeVoltage:
        action.argument = draw.volts();
        break;
    case Kind::TypeCurrent:
        action.argument = draw.amperes();
        break;
    case Kind::TimerStart:
        action.argument = std::to_string(draw.below(8));
        break;
    case Kind::HotApply:
        action.argument = std::to_string(draw.below(3));
        break;
    case Kind::Scpi:
        action.argument = draw.scpiLine();
        break;
    case Kind::Mqtt:
        action.argument = draw.mqttPayload();
        break;
    case Kind::ProgramStart:
        action.argument = draw.program();
        break;
    case Kind::Protect:
        action.argument = draw.protection();
        break;
    case Kind::Sim:
        action.argument = simFault(draw, restores, index).argument;
        break;
    default:
        break;
    }
    return action;
}

// The simulator's console: silence, garbage, status only, vanish and return,
// the supply's own output switch, load changes.
Action ActionPlan::simFault(
    ActionDraw& draw, std::vector<std::pair<std::size_t, std::string>>& restores, std::size_t index)
{
    static constexpr std::array<std::pair<const char*, const char*>, 4> kFaults{
        {{"silent", "answer"}, {"garbage on", "garbage off"}, {"panel on", "panel off"}, {"vanish", "plug"}}};
    static constexpr std::array<const char*, 6> kLoads{"0.5", "1", "2", "5", "10", "50"};
    Action action{0, false, Kind::Sim, {}};
    const int pick = draw.below(10);
    if (pick < 4) {
        action.argument = kFaults.at(static_cast<std::size_t>(pick)).first;
        restores.emplace_back(
            index + 2 + static_cast<std::size_t>(draw.below(10)), kFaults.at(static_cast<std::size_t>(pick)).second);
    } else if (pick < 7) {
        action.argument = draw.chance(60) ? "output on" : "output off";
    } else {
        action.argument = std::string("load ") + kLoads.at(static_cast<std::size_t>(draw.below(6)));
    }
    return action;
}

std::vector<Action> ActionPlan::read(const std::string& path)
{
    std::vector<Action> actions;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        // A printed list numbers its actions: "#12 +0 scpi ...".
        const std::size_t plus = line.find('+');
        if (plus == std::string::npos) {
            continue;
        }
        if (const auto action = Action::parse(line.substr(plus))) {
            actions.push_back(*action);
        }
    }
    return actions;
}
