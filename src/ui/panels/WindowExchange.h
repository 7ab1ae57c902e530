#pragma once

#include "supply/Quantity.h"

#include <QObject>

#include <optional>

class QWidget;
class SetpointPanel;
class SupplyController;
class TimerRun;
class TimerPanel;

// The main window's data exchange. The setpoint edits exchange the two values
// held here, which also take each new reading and are what the hot values'
// commands start from; the preset fields exchange the timer's preset. While
// the exchange writes into the fields, their change handlers stand aside.
class WindowExchange final : public QObject {
    Q_OBJECT

public:
    // A setpoint an edit's rule has just given: taken as it is, not read back.
    struct Computed {
        Quantity quantity;
        double value;
    };

    WindowExchange(
        QWidget* window, SetpointPanel& setpoints, TimerPanel& timer, SupplyController& supply, TimerRun& run);

    double voltage() const { return voltage_; }
    double current() const { return current_; }
    bool writing() const { return writing_; }

    // Reads minutes, hours, seconds, then the two setpoints. A field without a
    // valid number keeps its value and those read after it theirs; false
    // then, and prompt points it out.
    bool read(bool prompt, std::optional<Computed> computed = std::nullopt);
    // Shows the held values in every field; no change handler runs.
    void write();
    // Values that come from elsewhere, shown in the fields at once.
    void write(double volts, double amperes);

private:
    bool readSetpoint(Quantity quantity, bool prompt, const std::optional<Computed>& computed);
    double& held(Quantity quantity);

    QWidget* window_;
    SetpointPanel& setpoints_;
    TimerPanel& timer_;
    TimerRun& run_;
    double voltage_ = 0.0;
    double current_ = 0.0;
    bool writing_ = false;
};
