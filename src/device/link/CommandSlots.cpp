#include "link/CommandSlots.h"

#include <utility>

void CommandSlots::identify(int modelCode)
{
    const std::lock_guard lock(mutex_);
    modelCode_ = modelCode;
}

CommandSlots::Pending CommandSlots::forget()
{
    const std::lock_guard lock(mutex_);
    modelCode_ = -1;
    deferredAt_ = 0;
    return clearLocked();
}

int CommandSlots::modelCode() const
{
    const std::lock_guard lock(mutex_);
    return modelCode_;
}

bool CommandSlots::queueVoltage(std::int32_t raw)
{
    const std::lock_guard lock(mutex_);
    if (modelCode_ < 0) {
        return false;
    }
    // A toggle already waiting, or deferred, keeps the voltage it was given with.
    const std::uint64_t toggleAt = toggleAt_ != 0 ? toggleAt_ : deferredAt_;
    if (toggleAt != 0 && voltageAt_ < toggleAt) {
        toggleVoltage_ = voltage_.load();
    }
    voltage_.store(raw);
    voltageAt_ = ++given_;
    return true;
}

bool CommandSlots::queueCurrent(std::int32_t raw)
{
    const std::lock_guard lock(mutex_);
    if (modelCode_ < 0) {
        return false;
    }
    const std::uint64_t toggleAt = toggleAt_ != 0 ? toggleAt_ : deferredAt_;
    if (toggleAt != 0 && currentAt_ != 0 && currentAt_ < toggleAt) {
        currentBefore_ = current_.load();
    }
    current_.store(raw);
    currentAt_ = ++given_;
    return true;
}

bool CommandSlots::queueToggle()
{
    const std::lock_guard lock(mutex_);
    if (modelCode_ < 0) {
        return false;
    }
    // Asked twice before it left, it is still the one toggle.
    if (toggleAt_ == 0) {
        toggleAt_ = ++given_;
    }
    return true;
}

bool CommandSlots::withdrawToggle()
{
    const std::lock_guard lock(mutex_);
    const bool waiting = toggleAt_ != 0;
    toggleAt_ = 0;
    return waiting;
}

void CommandSlots::deferToggle()
{
    const std::lock_guard lock(mutex_);
    if (modelCode_ >= 0) {
        deferredAt_ = ++given_;
    }
}

void CommandSlots::releaseDeferredToggle()
{
    const std::lock_guard lock(mutex_);
    if (deferredAt_ != 0 && toggleAt_ == 0) {
        toggleAt_ = deferredAt_;
    }
    deferredAt_ = 0;
}

void CommandSlots::cancelDeferredToggle()
{
    const std::lock_guard lock(mutex_);
    deferredAt_ = 0;
}

void CommandSlots::holdVoltage(std::int32_t raw)
{
    const std::lock_guard lock(mutex_);
    voltage_.store(raw);
}

void CommandSlots::holdCurrent(std::int32_t raw)
{
    const std::lock_guard lock(mutex_);
    current_.store(raw);
}

CommandSlots::Pending CommandSlots::pending() const
{
    const std::lock_guard lock(mutex_);
    return pendingLocked();
}

CommandSlots::Pending CommandSlots::pendingLocked() const
{
    return {voltageAt_ != 0 || toggleAt_ != 0, currentAt_ != 0 || currentBefore_.has_value(), toggleAt_ != 0};
}

CommandSlots::Pending CommandSlots::clear()
{
    const std::lock_guard lock(mutex_);
    return clearLocked();
}

CommandSlots::Pending CommandSlots::clearLocked()
{
    const Pending was = pendingLocked();
    voltageAt_ = currentAt_ = toggleAt_ = 0;
    currentBefore_.reset();
    return was;
}

// With a toggle waiting, a current given before it goes first, and a voltage
// given before it rides on it; what was given after it follows it. What was
// given after a deferred toggle stays until that toggle is released.
std::vector<CommandSlots::Frame> CommandSlots::take()
{
    const std::lock_guard lock(mutex_);
    std::vector<Frame> frames;
    if (modelCode_ < 0) {
        clearLocked();
        return frames;
    }
    const Due now{due(voltageAt_), due(currentAt_), std::exchange(currentBefore_, std::nullopt)};
    if (due(toggleAt_)) {
        takeAroundToggle(now, frames);
        toggleAt_ = 0;
    } else {
        takeWithoutToggle(now, frames);
    }
    voltageAt_ = now.voltage ? 0 : voltageAt_;
    currentAt_ = now.current ? 0 : currentAt_;
    return frames;
}

void CommandSlots::takeWithoutToggle(const Due& now, std::vector<Frame>& frames) const
{
    if (now.voltage) {
        frames.push_back(frame(Quantity::Voltage, voltage_.load(), false));
    }
    if (now.currentBefore) {
        frames.push_back(frame(Quantity::Current, *now.currentBefore, false));
    }
    if (now.current) {
        frames.push_back(frame(Quantity::Current, current_.load(), false));
    }
}

void CommandSlots::takeAroundToggle(const Due& now, std::vector<Frame>& frames) const
{
    const bool voltageAfter = voltageAt_ > toggleAt_;
    if (now.currentBefore) {
        frames.push_back(frame(Quantity::Current, *now.currentBefore, false));
    } else if (now.current && currentAt_ < toggleAt_) {
        frames.push_back(frame(Quantity::Current, current_.load(), false));
    }
    frames.push_back(frame(Quantity::Voltage, voltageAfter ? toggleVoltage_ : voltage_.load(), true));
    if (voltageAfter && now.voltage) {
        frames.push_back(frame(Quantity::Voltage, voltage_.load(), false));
    }
    if (now.current && currentAt_ > toggleAt_) {
        frames.push_back(frame(Quantity::Current, current_.load(), false));
    }
}
