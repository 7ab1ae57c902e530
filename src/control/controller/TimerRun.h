#pragma once

#include "timer/TimerClock.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// The countdown timer and stopwatch: runs the output for the preset time or
// counts how long it has been on. Starting asks for the output on, stopping
// and expiry for it off; a lost link suspends a run and its return resumes it.
class TimerRun final : public QObject {
    Q_OBJECT

public:
    // False when the output was refused: the run does not start.
    using OutputRequest = std::function<bool(bool on)>;

    explicit TimerRun(OutputRequest requestOutput);

    void setPreset(const TimerClock::Preset& preset) { preset_ = preset; }
    const TimerClock::Preset& preset() const { return preset_; }

    // The start button with restart, the continue button without.
    void startStop(bool restart);
    void refreshCaption(bool reset);
    void tick();
    void suspend();
    // After the first full status once the link is back; false when no run was suspended.
    bool resumeIfSuspended();

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
    void start(bool restart);
    void stop();
    void showPreset();

    OutputRequest requestOutput_;
    TimerClock::Preset preset_;
    TimerClock count_;
    QTimer clock_;
    bool running_ = false;
};
