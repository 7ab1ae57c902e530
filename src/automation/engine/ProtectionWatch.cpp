#include "engine/ProtectionWatch.h"

#include "controller/Measurement.h"
#include "controller/SupplyController.h"
#include "engine/ProgramClock.h"

ProtectionWatch::ProtectionWatch(SupplyController& controller, const ProgramClock& clock, QObject* parent)
    : QObject(parent)
    , controller_(controller)
    , clock_(clock)
    , counters_(ChargeCounters::kMaxIntervalSeconds * clock.rate())
{
    connect(&controller_, &SupplyController::measured, this, &ProtectionWatch::onMeasured);
    connect(&controller_, &SupplyController::linkLost, this, [this] {
        counters_.breakInterval();
        offTicket_ = 0;
    });
}

void ProtectionWatch::setLimits(const ProtectionLimits& limits)
{
    limits_ = limits;
    counters_.reset();
    emit limitsChanged();
}

void ProtectionWatch::clear()
{
    trip_.reset();
    controller_.latchOutputOff(false);
    counters_.reset();
    emit cleared();
}

void ProtectionWatch::onMeasured(const Measurement& measurement)
{
    counters_.add({clock_.at(measurement.at), measurement.volts, measurement.amperes, measurement.outputOn});
    if (!measurement.outputOn) {
        offTicket_ = 0;
        return;
    }
    if (trip_) {
        switchOff();
        return;
    }
    // A reading from before the last trip's switch-off reached the supply
    // shows what that trip has already ended.
    if (offTicket_ > controller_.lastDelivered(Quantity::Voltage)) {
        return;
    }
    trip_ = crossed(measurement);
    if (trip_) {
        controller_.latchOutputOff(true);
        switchOff();
        offTicket_ = controller_.lastTicket(Quantity::Voltage);
        emit trippedOn(*trip_);
    }
}

std::optional<ProtectionTrip> ProtectionWatch::crossed(const Measurement& measurement) const
{
    using Limit = ProtectionLimits::Limit;
    const std::pair<Limit, double> readings[]
        = {{Limit::Voltage, measurement.volts}, {Limit::Current, measurement.amperes},
            {Limit::Power, measurement.volts * measurement.amperes}, {Limit::Charge, counters_.ampereHours()},
            {Limit::Energy, counters_.wattHours()}, {Limit::Time, counters_.outputOnSeconds()}};
    for (const auto& [quantity, value] : readings) {
        const std::optional<double> limit = limits_.of(quantity);
        if (limit && value > *limit) {
            return ProtectionTrip{quantity, value, *limit, clock_.wallNow()};
        }
    }
    return std::nullopt;
}

void ProtectionWatch::switchOff()
{
    const SupplyController::Acting protection(controller_, {CommandOrigin::Kind::Protection});
    controller_.requestOutput(false);
}

Phrase ProtectionWatch::description(const ProtectionTrip& trip)
{
    Phrase what;
    switch (trip.quantity) {
    case ProtectionLimits::Limit::Voltage:
        what = Phrase::translate("ProtectionWatch", "напряжение %1 В выше предела %2 В");
        break;
    case ProtectionLimits::Limit::Current:
        what = Phrase::translate("ProtectionWatch", "ток %1 А выше предела %2 А");
        break;
    case ProtectionLimits::Limit::Power:
        what = Phrase::translate("ProtectionWatch", "мощность %1 Вт выше предела %2 Вт");
        break;
    case ProtectionLimits::Limit::Charge:
        what = Phrase::translate("ProtectionWatch", "заряд %1 А·ч выше предела %2 А·ч");
        break;
    case ProtectionLimits::Limit::Energy:
        what = Phrase::translate("ProtectionWatch", "энергия %1 Вт·ч выше предела %2 Вт·ч");
        break;
    case ProtectionLimits::Limit::Time:
        what = Phrase::translate("ProtectionWatch", "выход включён %1 с, предел %2 с");
        break;
    }
    constexpr int kDigits = 6;
    return Phrase::translate("ProtectionWatch", "%1: %2")
        .arg(trip.at.toString(QStringLiteral("HH:mm:ss")))
        .arg(what.arg(QString::number(trip.value, 'g', kDigits)).arg(QString::number(trip.limit, 'g', kDigits)));
}
