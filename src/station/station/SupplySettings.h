#pragma once

#include "settings/ControllerSettings.h"
#include "text/Phrase.h"

#include <optional>
#include <set>
#include <string>

// The settings file as the supply controller uses it: read at start-up and
// at each identification, saved at each loss of the link and at the end,
// and each kind of problem told once a run, for a save is tried often.
class SupplySettings {
public:
    using Problem = ControllerSettings::Problem;

    // Writes the defaults into a file that was never written.
    Problem prepare();
    // At start-up it also clears what a killed save left.
    ControllerSettings::Loaded load(bool startup);
    Problem save(const ControllerSettings::Saved& saved) { return settings_.save(saved); }
    Problem appendPair(double volts, double amperes) { return settings_.appendPair(volts, amperes); }
    // What to tell the user about a problem not told before in this run.
    std::optional<Phrase> adviceOnce(Problem problem);

    const std::string& path() const { return settings_.file().path(); }

private:
    ControllerSettings settings_;
    std::set<Problem> told_;
};
