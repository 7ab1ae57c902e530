#include "timer/TimerRun.h"

#include "controller/SupplyController.h"

TimerRun::TimerRun(SupplyController& controller, QObject* parent)
    : QObject(parent)
    , controller_(controller)
{
    clock_.setInterval(1000);
    connect(&clock_, &QTimer::timeout, this, &TimerRun::tick);
    connect(&controller_, &SupplyController::linkLost, this, &TimerRun::suspend);
    connect(&controller_, &SupplyController::supplyReturned, this, &TimerRun::resumeIfSuspended);
}

bool TimerRun::requestOutput(bool on)
{
    const SupplyController::Acting timer(controller_, {CommandOrigin::Kind::Timer});
    return controller_.requestOutput(on);
}

void TimerRun::refreshCaption(bool reset)
{
    emit startCaptionShown(!preset_.isZero());
    if (reset) {
        count_.reset();
        emit continueEnabled(false);
        showPreset();
    }
}

void TimerRun::showPreset()
{
    emit clockShown(QString::fromStdString(TimerClock::format(preset_.hours, preset_.minutes, preset_.seconds)));
}

void TimerRun::startStop(bool restart)
{
    if (running_) {
        stop();
    } else {
        start(restart);
    }
}

void TimerRun::start(bool restart)
{
    if (!requestOutput(true)) {
        const bool wasSuspended = running_;
        running_ = false;
        if (wasSuspended) {
            emit continueEnabled(true);
            emit runEnded();
        }
        emit startRefused();
        return;
    }
    emit continueEnabled(false);
    running_ = true;
    refreshCaption(restart);
    emit runStarted();
    if (count_.count() == 0) {
        count_.start(preset_);
        showPreset();
    }
    clock_.start();
}

void TimerRun::stop()
{
    running_ = false;
    refreshCaption(false);
    requestOutput(false);
    clock_.stop();
    emit continueEnabled(true);
    emit runEnded();
}

void TimerRun::tick()
{
    const bool expired = count_.tick();
    emit clockShown(QString::fromStdString(TimerClock::formatCount(count_.count())));
    if (!expired) {
        return;
    }
    running_ = false;
    refreshCaption(false);
    requestOutput(false);
    clock_.stop();
    emit runEnded();
}

// The output is recorded off, so that the run's return switches it on anew.
void TimerRun::suspend()
{
    if (running_) {
        refreshCaption(false);
        clock_.stop();
        controller_.recordOutputOff();
    }
}

// Once the returning supply's output state is known: one that kept its
// output on is not toggled off.
void TimerRun::resumeIfSuspended()
{
    if (running_) {
        start(false);
    }
}
