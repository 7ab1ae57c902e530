#pragma once

#include "outlook/OutwardState.h"

#include <QObject>

class ProgramEngine;
class ProtectionWatch;
class SupplyController;

// One supply's outward state, worked out here alone from its controller, its
// protection limits and its program engine: the recording, the remote
// server, the metrics, MQTT and the event log all read it from one outlook,
// so none of them can tell another story of the link, the readings or the
// setpoints.
class SupplyOutlook final : public QObject {
    Q_OBJECT

public:
    SupplyOutlook(const SupplyController& controller, const ProgramEngine& programs, const ProtectionWatch& protection,
        QObject* parent = nullptr);

    // The state as it stands now: a reading goes stale with time alone.
    OutwardState now() const;

    const SupplyController& controller() const { return controller_; }
    const ProgramEngine& programs() const { return programs_; }
    const ProtectionWatch& protection() const { return protection_; }

signals:
    // Something now() tells may have changed; newReading when a full status came.
    void changed(bool newReading);

private:
    void follow();

    const SupplyController& controller_;
    const ProgramEngine& programs_;
    const ProtectionWatch& protection_;
};
