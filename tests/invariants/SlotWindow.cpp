#include "SlotWindow.h"

#include <cmath>
#include <cstdio>

SlotWindow::SlotWindow(const StationJournal& journal, double voltsFullScale, double amperesFullScale)
    : journal_(journal)
    , volts_(voltsFullScale)
    , amperes_(amperesFullScale)
{
}

std::optional<double> SlotWindow::voltageOf(const StationJournal::Slots& states) const
{
    if (!states.identified || !states.voltageKnown) {
        return std::nullopt;
    }
    return states.voltageRaw * volts_ / 1000;
}

std::optional<double> SlotWindow::currentOf(const StationJournal::Slots& states) const
{
    if (!states.identified || !states.currentKnown) {
        return std::nullopt;
    }
    return states.currentRaw * amperes_ / 1000;
}

template <typename Pick>
bool SlotWindow::shown(Moment from, Moment to, std::optional<double> value, double tolerance, Pick pick) const
{
    const auto& states = journal_.states();
    for (std::size_t i = 0; i < states.size(); ++i) {
        const bool inEffect = states[i].at <= to && (i + 1 == states.size() || states[i + 1].at > from);
        if (!inEffect) {
            continue;
        }
        const std::optional<double> expected = pick(states[i]);
        if (!expected && !value) {
            return true;
        }
        if (expected && value && std::abs(*expected - *value) <= tolerance + 1e-9) {
            return true;
        }
    }
    return false;
}

bool SlotWindow::voltageShown(Moment from, Moment to, std::optional<double> value, double tolerance) const
{
    return shown(from, to, value, tolerance, [this](const auto& states) { return voltageOf(states); });
}

bool SlotWindow::currentShown(Moment from, Moment to, std::optional<double> value, double tolerance) const
{
    return shown(from, to, value, tolerance, [this](const auto& states) { return currentOf(states); });
}

std::string SlotWindow::describe(Moment from, Moment to, bool voltage) const
{
    std::string text;
    const auto& states = journal_.states();
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (states[i].at > to || (i + 1 < states.size() && states[i + 1].at <= from)) {
            continue;
        }
        const std::optional<double> value = voltage ? voltageOf(states[i]) : currentOf(states[i]);
        char item[48];
        (void)std::snprintf(item, sizeof item, value ? "%.4f" : "unknown", value.value_or(0.0));
        text += (text.empty() ? "" : " or ") + std::string(item);
    }
    return text.empty() ? "nothing" : text;
}
