#include "controller/ReadingWatch.h"

#include "supply/Conversions.h"

#include <utility>

ReadingWatch::ReadingWatch(std::chrono::milliseconds staleAfter, QObject* parent)
    : QObject(parent)
    , staleAfter_(staleAfter)
{
    staleTimer_.setSingleShot(true);
    staleTimer_.setTimerType(Qt::PreciseTimer);
    staleTimer_.setInterval(staleAfter);
    connect(&staleTimer_, &QTimer::timeout, this, &ReadingWatch::wentStale);
}

std::optional<double> ReadingWatch::changed(Quantity quantity, std::int32_t raw, const ModelProfile& profile)
{
    const bool voltage = quantity == Quantity::Voltage;
    if (std::exchange(voltage ? lastVoltageRaw_ : lastCurrentRaw_, raw) == raw) {
        return std::nullopt;
    }
    return Conversions::readingToValue(raw, voltage ? profile.voltageMax : profile.currentMax);
}

const Measurement& ReadingWatch::take(
    std::int32_t voltageRaw, std::int32_t currentRaw, bool voltageRegulated, bool outputOn, const ModelProfile& profile)
{
    latest_ = Measurement{outputOn ? Conversions::rawToValue(voltageRaw, profile.voltageMax) : 0.0,
        outputOn ? Conversions::rawToValue(currentRaw, profile.currentMax) : 0.0, voltageRegulated, outputOn,
        std::chrono::steady_clock::now()};
    staleTimer_.start();
    return *latest_;
}

void ReadingWatch::forget()
{
    latest_.reset();
    staleTimer_.stop();
    lastVoltageRaw_ = -1;
    lastCurrentRaw_ = -1;
}

bool ReadingWatch::stale() const
{
    return !latest_ || std::chrono::steady_clock::now() - latest_->at >= staleAfter_;
}
