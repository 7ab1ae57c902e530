#pragma once

#include "timer/TimerClock.h"

class SupplyController;

#include <QObject>
#include <QString>
#include <QTimer>

// The countdown timer and stopwatch: runs the output for the preset time or
// counts how long it has been on. Starting asks the controller for the output
// on, stopping and expiry for it off, as the timer's; a lost link suspends a
// run, which records the output off, and the supply's return resumes it.
class TimerRun final : public QObject {
    Q_OBJECT

public:
    explicit TimerRun(SupplyController& controller, QObject* parent = nullptr);

    void setPreset(const TimerClock::Preset& preset) { preset_ = preset; }
    const TimerClock::Preset& preset() const { return preset_; }

    // The start button with restart, the continue button without.
    void startStop(bool restart);
    void refreshCaption(bool reset);
    void tick();

    bool running() const { return running_; }
    bool clockTicking() const { return clock_.isActive(); }
    int count() const { return count_.count(); }

signals:
    void startCaptionShown(bool countdown);
    void clockShown(const QString& text);
    void continueEnabled(bool enabled);
    void runStarted();
    void runEnded();
    // A start or a resumed run found the output refused, and did not run.
    void startRefused();

private:
    // False when the output was refused: the run does not start.
    bool requestOutput(bool on);
    void suspend();
    void resumeIfSuspended();
    void start(bool restart);
    void stop();
    void showPreset();

    SupplyController& controller_;
    TimerClock::Preset preset_;
    TimerClock count_;
    QTimer clock_;
    bool running_ = false;
};
