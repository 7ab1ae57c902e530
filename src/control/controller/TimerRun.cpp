#include "controller/TimerRun.h"

TimerRun::TimerRun(OutputRequest requestOutput)
    : requestOutput_(std::move(requestOutput))
{
    clock_.setInterval(1000);
    connect(&clock_, &QTimer::timeout, this, &TimerRun::tick);
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
    if (!requestOutput_(true)) {
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
    requestOutput_(false);
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
    requestOutput_(false);
    clock_.stop();
    emit runEnded();
}

void TimerRun::suspend()
{
    if (running_) {
        refreshCaption(false);
        clock_.stop();
    }
}

bool TimerRun::resumeIfSuspended()
{
    if (!running_) {
        return false;
    }
    start(false);
    return true;
}
