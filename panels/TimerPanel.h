#pragma once

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The timer and stopwatch area: the preset, the start and continue buttons, the clock.
class TimerPanel {
public:
    explicit TimerPanel(QWidget* window);

    void setPresetsEnabled(bool enabled);
    void setStartEnabled(bool enabled);
    void setContinueEnabled(bool enabled);
    // "Вкл. таймер" for a preset that is not zero, else "Вкл. секундомер".
    void showStartCaption(bool countdown);
    void showStopCaption();
    void showClock(const std::string& text);

    QLineEdit* hoursEdit() const { return hours_; }
    QLineEdit* minutesEdit() const { return minutes_; }
    QLineEdit* secondsEdit() const { return seconds_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* continueButton() const { return continue_; }
    QLabel* clock() const { return clock_; }

private:
    QLineEdit* hours_;
    QLineEdit* minutes_;
    QLineEdit* seconds_;
    QPushButton* start_;
    QLabel* clock_;
    QPushButton* continue_;
};
