#pragma once

#include "engine/ProtectionTrip.h"
#include "program/ChargeCounters.h"
#include "program/ProtectionLimits.h"
#include "text/Phrase.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

class ProgramClock;
class SupplyController;
struct Measurement;

// The software limits, checked on every reading with or without a program: a
// reading over one switches the output off through the output state path at
// once, so the toggle goes out after the very poll whose answer crossed it.
// The trip latches until cleared, and while it does an output switched on is
// switched off again at its first reading.
class ProtectionWatch final : public QObject {
    Q_OBJECT

public:
    ProtectionWatch(SupplyController& controller, const ProgramClock& clock, QObject* parent = nullptr);

    // Arms these limits; the charge, energy and time count from now.
    void setLimits(const ProtectionLimits& limits);
    const ProtectionLimits& limits() const { return limits_; }
    const std::optional<ProtectionTrip>& trip() const { return trip_; }
    bool tripped() const { return trip_.has_value(); }
    // Ends the latch and counts charge, energy and time afresh.
    void clear();

    double ampereHours() const { return counters_.ampereHours(); }

    // When, the quantity with its unit, and the limit.
    static Phrase description(const ProtectionTrip& trip);
    // As the window shows it.
    static QString describe(const ProtectionTrip& trip) { return description(trip).inWindow(); }

signals:
    void trippedOn(const ProtectionTrip& trip);
    void cleared();
    void limitsChanged();

private:
    void onMeasured(const Measurement& measurement);
    std::optional<ProtectionTrip> crossed(const Measurement& measurement) const;
    void switchOff();

    SupplyController& controller_;
    const ProgramClock& clock_;
    ProtectionLimits limits_;
    ChargeCounters counters_;
    std::optional<ProtectionTrip> trip_;
    // The voltage frame that carried the last trip's switch-off; 0 once the
    // supply has reported its output off since.
    std::uint64_t offTicket_ = 0;
};
