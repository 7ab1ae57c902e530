#pragma once

#include "controller/Measurement.h"
#include "supply/ModelProfile.h"
#include "supply/Quantity.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <optional>

// What the supply reads: the last full status, how old it is, and the last
// words, so that observers hear of changed readings only.
class ReadingWatch final : public QObject {
    Q_OBJECT

public:
    explicit ReadingWatch(std::chrono::milliseconds staleAfter, QObject* parent = nullptr);

    // The value of a word that differs from the last one read of that
    // quantity, which it now is; none when it does not.
    std::optional<double> changed(Quantity quantity, std::int32_t raw, const ModelProfile& profile);
    // A full status: with the output off the supply puts out nothing, whatever its words.
    const Measurement& take(std::int32_t voltageRaw, std::int32_t currentRaw, bool voltageRegulated, bool outputOn,
        const ModelProfile& profile);
    // The link is lost: nothing read before counts.
    void forget();

    const std::optional<Measurement>& latest() const { return latest_; }
    // No full status for the time given, or none at all.
    bool stale() const;

signals:
    // No full status has come for the time given since the last one.
    void wentStale();

private:
    std::chrono::milliseconds staleAfter_;
    std::optional<Measurement> latest_;
    QTimer staleTimer_;
    // -1: none read yet.
    std::int32_t lastVoltageRaw_ = -1;
    std::int32_t lastCurrentRaw_ = -1;
};
