#include "WindowModel.h"

#include "controller/SupplyController.h"
#include "timer/TimerRun.h"

WindowModel::WindowModel(SupplyController& controller, TimerRun& timer)
    : controller_(controller)
{
    connect(&controller, &SupplyController::outputChanged, this, &WindowModel::showOutput);
    connect(&controller, &SupplyController::outputToggleWithdrawn, this, &WindowModel::showOutput);
    connect(&controller, &SupplyController::outputTogglePending, this, [this] { on_ = off_ = false; });
    connect(&timer, &TimerRun::continueEnabled, this, [this](bool enabled) { continue_ = enabled; });
}

void WindowModel::showOutput(bool on)
{
    on_ = !on;
    off_ = on;
}

bool WindowModel::controlsLive() const
{
    return controller_.controlsShown();
}

// The edits send nothing while the supply's own setpoints are being taken up.
bool WindowModel::editsLive() const
{
    return controlsLive() && !controller_.adoptingReadings();
}
