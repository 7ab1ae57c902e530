#pragma once

#include "timer/TimerClock.h"

#include <QObject>
#include <QString>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class SupplyController;
class TimerRun;
class WindowExchange;

// The timer and stopwatch area: the preset, the start and continue buttons,
// the clock. It follows the supply's timer run and drives it.
class TimerPanel final : public QObject {
    Q_OBJECT

public:
    explicit TimerPanel(QWidget* window);

    void bind(SupplyController& supply, TimerRun& run, WindowExchange& exchange);

    QLineEdit* hoursEdit() const { return hours_; }
    QLineEdit* minutesEdit() const { return minutes_; }
    QLineEdit* secondsEdit() const { return seconds_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* continueButton() const { return continue_; }

private:
    void connectControls();
    void connectRun();
    void onHoursEdited();
    // Minutes and seconds stop at 59.
    void onMinutesOrSecondsEdited(std::uint8_t TimerClock::Preset::*field);
    void showLive(bool live);
    void followLatch();
    void setPresetsEnabled(bool enabled);
    // "Вкл. таймер" for a preset that is not zero, else "Вкл. секундомер".
    void showStartCaption(bool countdown);

    QLineEdit* hours_;
    QLineEdit* minutes_;
    QLineEdit* seconds_;
    QPushButton* start_;
    QLabel* clock_;
    QPushButton* continue_;
    SupplyController* supply_ = nullptr;
    TimerRun* run_ = nullptr;
    WindowExchange* exchange_ = nullptr;
};
