#include "outlook/SupplyOutlook.h"

#include "controller/SupplyController.h"
#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"

SupplyOutlook::SupplyOutlook(const SupplyController& controller, const ProgramEngine& programs,
    const ProtectionWatch& protection, QObject* parent)
    : QObject(parent)
    , controller_(controller)
    , programs_(programs)
    , protection_(protection)
{
    follow();
}

OutwardState SupplyOutlook::now() const
{
    OutwardState state;
    state.identified = controller_.identified();
    state.linkUp = controller_.live();
    if (state.identified) {
        state.model = controller_.profile().modelName;
        state.stale = controller_.measurementStale();
        state.voltageSetpoint = controller_.heldVoltage();
        state.currentSetpoint = controller_.heldCurrent();
        if (!state.stale) {
            state.reading = controller_.latest();
        }
    }
    if (state.linkUp) {
        state.outputOn = controller_.outputOn();
    }
    if (const auto& trip = protection_.trip()) {
        state.trip = trip->quantity;
    }
    state.program = programs_.state();
    state.programStep = programs_.active() ? programs_.progress().step : 0;
    return state;
}

// Every signal after which now() may tell something else.
void SupplyOutlook::follow()
{
    const auto change = [this] { emit changed(false); };
    connect(&controller_, &SupplyController::measured, this, [this] { emit changed(true); });
    for (const auto signal : {&SupplyController::measurementsStale, &SupplyController::linkLost,
             &SupplyController::controlsLive, &SupplyController::panelSwitchReported}) {
        connect(&controller_, signal, this, change);
    }
    connect(&controller_, &SupplyController::supplyIdentified, this, change);
    connect(&controller_, &SupplyController::outputChanged, this, change);
    connect(&controller_, &SupplyController::commanded, this, change);
    connect(&controller_, &SupplyController::setpointChanged, this,
        [change](Quantity /*quantity*/, SupplyController::SetpointCause cause, double /*value*/) {
            if (cause == SupplyController::SetpointCause::Learned) {
                change();
            }
        });
    connect(&programs_, &ProgramEngine::stateChanged, this, change);
    connect(&programs_, &ProgramEngine::stepStarted, this, change);
    connect(&protection_, &ProtectionWatch::trippedOn, this, change);
    connect(&protection_, &ProtectionWatch::cleared, this, change);
}
