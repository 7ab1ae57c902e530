#include "metrics/SupplyMetrics.h"

#include "controller/SupplyController.h"
#include "engine/ProtectionWatch.h"
#include "link/SupplyLink.h"
#include "outlook/SupplyOutlook.h"
#include "readings/ReadingsModel.h"

#include <utility>

namespace {

constexpr double kSecondsPerHour = 3600.0;

} // namespace

SupplyMetrics::SupplyMetrics(Parts parts, MetricsBoard& board, std::size_t index)
    : parts_(std::move(parts))
    , board_(board)
    , index_(index)
{
    follow();
    refresh();
}

void SupplyMetrics::follow()
{
    const SupplyOutlook& outlook = parts_.outlook;
    const auto update = [this] { refresh(); };
    connect(&outlook, &SupplyOutlook::changed, this, update);
    connect(&outlook.controller().link(), &SupplyLink::replied, this, [this](const Reply& reply) {
        if (reply.kind() == ReplyKind::NoAnswer) {
            ++snapshot_.missedPolls;
        }
        refresh();
    });
    connect(&outlook.protection(), &ProtectionWatch::trippedOn, this, [this] {
        ++snapshot_.trips;
        refresh();
    });
    connect(&parts_.readings, &ReadingsModel::recordingChanged, this, update);
    connect(&parts_.readings, &ReadingsModel::countersReset, this, update);
}

void SupplyMetrics::refresh()
{
    snapshot_.port = parts_.portName();
    snapshot_.state = parts_.outlook.now();
    if (snapshot_.state.identified) {
        snapshot_.lastModel = snapshot_.state.model;
    }
    snapshot_.polls = parts_.outlook.controller().repliesSeen();
    snapshot_.coulombs = parts_.readings.counters().ampereHours() * kSecondsPerHour;
    snapshot_.joules = parts_.readings.counters().wattHours() * kSecondsPerHour;
    snapshot_.recording = parts_.readings.isRecording();
    board_.store(index_, snapshot_);
}
