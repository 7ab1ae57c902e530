#pragma once

#include <QObject>

class SupplyController;
class TimerRun;

// What the main window lets the user press, as its panels enable it: the
// setpoint edits and output buttons while the controls are live, "Включить"
// only while the output is off and "Выключить" only while it is on, both
// greyed from a toggle until the supply reports its result; the timer's
// "Продолжить" once a run was stopped.
class WindowModel final : public QObject {
    Q_OBJECT

public:
    WindowModel(SupplyController& controller, TimerRun& timer);

    bool editsLive() const;
    bool onEnabled() const { return controlsLive() && on_; }
    bool offEnabled() const { return controlsLive() && off_; }
    bool continueEnabled() const { return controlsLive() && continue_; }
    bool controlsLive() const;

private:
    void showOutput(bool on);

    SupplyController& controller_;
    bool on_ = true;
    bool off_ = false;
    bool continue_ = false;
};
