#include "readings/HistoryEvents.h"

#include <algorithm>
#include <cmath>

namespace {

// Two known setpoints that differ; an unknown one changes nothing.
bool changed(float before, float after)
{
    return !std::isnan(before) && !std::isnan(after) && before != after;
}

} // namespace

void HistoryEvents::note(std::uint32_t ms, const State& state)
{
    if (!state.linked) {
        events_.push_back({ms, Kind::LinkLost});
        return;
    }
    if (lastLinked_) {
        // The output first: of two marks at one moment the chart keeps the first.
        if (state.outputOn != lastLinked_->outputOn) {
            events_.push_back({ms, state.outputOn ? Kind::OutputOn : Kind::OutputOff});
        }
        if (changed(lastLinked_->setVoltage, state.setVoltage) || changed(lastLinked_->setCurrent, state.setCurrent)) {
            events_.push_back({ms, Kind::SetpointChange});
        }
    }
    // The last known setpoints stay for the comparison while they are unknown.
    const State previous = lastLinked_.value_or(state);
    lastLinked_ = state;
    if (std::isnan(state.setVoltage)) {
        lastLinked_->setVoltage = previous.setVoltage;
    }
    if (std::isnan(state.setCurrent)) {
        lastLinked_->setCurrent = previous.setCurrent;
    }
}

void HistoryEvents::clear()
{
    events_.clear();
    lastLinked_.reset();
}

void HistoryEvents::dropBefore(std::uint32_t ms)
{
    while (!events_.empty() && events_.front().ms < ms) {
        events_.pop_front();
    }
}

void HistoryEvents::rebase(std::uint32_t shift)
{
    for (Stored& event : events_) {
        event.ms -= shift;
    }
}

std::vector<HistoryEvents::Event> HistoryEvents::between(std::uint32_t low, std::uint32_t high) const
{
    auto it
        = std::partition_point(events_.begin(), events_.end(), [low](const Stored& event) { return event.ms < low; });
    std::vector<Event> found;
    for (; it != events_.end() && it->ms <= high; ++it) {
        found.push_back({it->ms / 1000.0, it->kind});
    }
    return found;
}
