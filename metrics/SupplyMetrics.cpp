#include "metrics/SupplyMetrics.h"

#include "controller/ProgramEngine.h"
#include "controller/ProtectionWatch.h"
#include "controller/SupplyController.h"
#include "link/SupplyLink.h"
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
    const SupplyController& controller = parts_.controller;
    const auto update = [this] { refresh(); };
    for (const auto signal : {&SupplyController::controlsLive, &SupplyController::linkLost,
             &SupplyController::measurementsStale, &SupplyController::panelSwitchReported}) {
        connect(&controller, signal, this, update);
    }
    connect(&controller, &SupplyController::measured, this, update);
    connect(&controller, &SupplyController::supplyIdentified, this, update);
    connect(&controller, &SupplyController::outputChanged, this, update);
    connect(&controller, &SupplyController::voltageCommanded, this, update);
    connect(&controller, &SupplyController::currentCommanded, this, update);
    connect(&controller, &SupplyController::voltageLearned, this, update);
    connect(&controller, &SupplyController::currentLearned, this, update);
    connect(&controller.link(), &SupplyLink::replied, this, [this](const Reply& reply) {
        if (reply.kind() == ReplyKind::NoAnswer) {
            ++snapshot_.missedPolls;
        }
        refresh();
    });
    connect(&parts_.protection, &ProtectionWatch::trippedOn, this, [this] {
        ++snapshot_.trips;
        refresh();
    });
    connect(&parts_.programs, &ProgramEngine::stateChanged, this, update);
    connect(&parts_.programs, &ProgramEngine::stepStarted, this, update);
    connect(&parts_.readings, &ReadingsModel::recordingChanged, this, update);
    connect(&parts_.readings, &ReadingsModel::countersReset, this, update);
}

void SupplyMetrics::takeReadings()
{
    const SupplyController& controller = parts_.controller;
    const std::optional<Measurement>& latest = controller.latest();
    const bool fresh = latest && !controller.measurementStale();
    snapshot_.volts = fresh ? std::optional(latest->volts) : std::nullopt;
    snapshot_.amperes = fresh ? std::optional(latest->amperes) : std::nullopt;
    snapshot_.outputOn = latest ? std::optional(controller.outputOn()) : std::nullopt;
    snapshot_.constantCurrent = fresh && latest->outputOn ? std::optional(!latest->voltageRegulated) : std::nullopt;
}

void SupplyMetrics::refresh()
{
    const SupplyController& controller = parts_.controller;
    snapshot_.port = parts_.portName();
    snapshot_.model = controller.identified() ? controller.profile().modelName : SupplySnapshot::kNoModel;
    snapshot_.linkUp = controller.live();
    takeReadings();
    snapshot_.voltageSetpoint = controller.identified() ? controller.voltageSetpoint() : std::nullopt;
    snapshot_.currentSetpoint = controller.identified() ? controller.currentSetpoint() : std::nullopt;
    snapshot_.polls = controller.repliesSeen();
    snapshot_.coulombs = parts_.readings.counters().ampereHours() * kSecondsPerHour;
    snapshot_.joules = parts_.readings.counters().wattHours() * kSecondsPerHour;
    snapshot_.recording = parts_.readings.isRecording();
    snapshot_.programState = parts_.programs.state();
    snapshot_.programStep = parts_.programs.active() ? parts_.programs.progress().step : 0;
    board_.store(index_, snapshot_);
}
