#pragma once

#include "StationJournal.h"

#include <optional>

// What an observer may show of a setpoint: any state the states were in while
// it was asked and answered. Values at the supply's resolution: raw × full
// scale / 1000; none while the setpoint is not known or no supply is identified.
class SlotWindow {
public:
    SlotWindow(const StationJournal& journal, double voltsFullScale, double amperesFullScale);

    // True when some state from `from` to `to` shows `value` (none: not known) within `tolerance`.
    bool voltageShown(Moment from, Moment to, std::optional<double> value, double tolerance) const;
    bool currentShown(Moment from, Moment to, std::optional<double> value, double tolerance) const;
    std::optional<double> voltageOf(const StationJournal::Slots& states) const;
    std::optional<double> currentOf(const StationJournal::Slots& states) const;
    // The states to show, for a report.
    std::string describe(Moment from, Moment to, bool voltage) const;

private:
    template <typename Pick>
    bool shown(Moment from, Moment to, std::optional<double> value, double tolerance, Pick pick) const;

    const StationJournal& journal_;
    double volts_;
    double amperes_;
};
