#include "panels/WindowExchange.h"

#include "controller/SupplyController.h"
#include "panels/SetpointPanel.h"
#include "panels/TimerPanel.h"
#include "timer/TimerRun.h"
#include "toolkit/ClassicEdit.h"
#include "toolkit/DataExchange.h"

#include <QLineEdit>

WindowExchange::WindowExchange(
    QWidget* window, SetpointPanel& setpoints, TimerPanel& timer, SupplyController& supply, TimerRun& run)
    : QObject(window)
    , window_(window)
    , setpoints_(setpoints)
    , timer_(timer)
    , run_(run)
{
    connect(&supply, &SupplyController::setpointChanged, this,
        [this](Quantity quantity, SupplyController::SetpointCause /*cause*/, double value) { held(quantity) = value; });
    connect(&supply, &SupplyController::readingChanged, this,
        [this](Quantity quantity, double value) { held(quantity) = value; });
}

bool WindowExchange::read(bool prompt, std::optional<Computed> computed)
{
    TimerClock::Preset preset = run_.preset();
    const bool read = DataExchange::readInto(window_, timer_.minutesEdit(), preset.minutes, prompt)
        && DataExchange::readInto(window_, timer_.hoursEdit(), preset.hours, prompt)
        && DataExchange::readInto(window_, timer_.secondsEdit(), preset.seconds, prompt)
        && readSetpoint(Quantity::Voltage, prompt, computed) && readSetpoint(Quantity::Current, prompt, computed);
    run_.setPreset(preset);
    return read;
}

bool WindowExchange::readSetpoint(Quantity quantity, bool prompt, const std::optional<Computed>& computed)
{
    double& member = held(quantity);
    if (computed && computed->quantity == quantity) {
        member = computed->value;
        return true;
    }
    const bool voltage = quantity == Quantity::Voltage;
    return DataExchange::readInto(
        window_, voltage ? setpoints_.voltageEdit() : setpoints_.currentEdit(), member, prompt);
}

double& WindowExchange::held(Quantity quantity)
{
    return quantity == Quantity::Voltage ? voltage_ : current_;
}

void WindowExchange::write()
{
    const TimerClock::Preset& preset = run_.preset();
    writing_ = true;
    timer_.minutesEdit()->setText(QString::number(preset.minutes));
    timer_.hoursEdit()->setText(QString::number(preset.hours));
    timer_.secondsEdit()->setText(QString::number(preset.seconds));
    setpoints_.voltageEdit()->setProgramText(QString::number(voltage_, 'g', 15));
    setpoints_.currentEdit()->setProgramText(QString::number(current_, 'g', 15));
    writing_ = false;
}

void WindowExchange::write(double volts, double amperes)
{
    voltage_ = volts;
    current_ = amperes;
    write();
}
