#include "SupplyState.h"

#include "supply/ModelTable.h"

#include <algorithm>

namespace {

// A supply whose code the table does not know still needs full scales for its load.
constexpr double kUnknownFullScale = 10.0;
constexpr int kMaxNoiseBytes = 6;

void appendWord(std::vector<std::uint8_t>& bytes, int word)
{
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((word >> 8) & 0xFF));
}

} // namespace

SupplyState::SupplyState(int modelCode, int voltageRaw, int currentRaw, double loadOhms, bool outputOn)
    : modelCode_(std::clamp(modelCode, 0, kMaxModelCode))
    , voltageRaw_(clampRaw(voltageRaw))
    , currentRaw_(clampRaw(currentRaw))
    , load_(loadOhms)
    , outputOn_(outputOn)
{
}

std::vector<std::uint8_t> SupplyState::answerPoll(std::mt19937& random) const
{
    if (silent_) {
        return {};
    }
    if (panelSwitch_) {
        return {static_cast<std::uint8_t>(kOutputOnBit | modelCode_)};
    }
    if (garbage_) {
        return noise(random);
    }
    return reading();
}

SupplyState::Outcome SupplyState::apply(const SupplyFrameParser::Frame& command)
{
    if (command.code != modelCode_) {
        return Outcome::OtherModel;
    }
    if (silent_) {
        return Outcome::Unpowered;
    }
    if (panelSwitch_) {
        return Outcome::PanelSwitch;
    }
    switch (command.kind) {
    case SupplyFrameParser::Kind::SetCurrent:
        currentRaw_ = clampRaw(command.raw);
        break;
    case SupplyFrameParser::Kind::SetVoltageToggle:
        outputOn_ = !outputOn_;
        voltageRaw_ = clampRaw(command.raw);
        break;
    case SupplyFrameParser::Kind::SetVoltage:
        voltageRaw_ = clampRaw(command.raw);
        break;
    case SupplyFrameParser::Kind::Poll:
    case SupplyFrameParser::Kind::Garbage:
        break;
    }
    return Outcome::Applied;
}

void SupplyState::setModelCode(int code)
{
    modelCode_ = std::clamp(code, 0, kMaxModelCode);
}

void SupplyState::setSetpoints(int voltageRaw, int currentRaw)
{
    voltageRaw_ = clampRaw(voltageRaw);
    currentRaw_ = clampRaw(currentRaw);
}

// Mains power coming back finds the output switched off.
void SupplyState::setSilent(bool silent)
{
    if (silent_ && !silent) {
        outputOn_ = false;
    }
    silent_ = silent;
}

void SupplyState::setBatteryLeak(double amperes)
{
    if (battery_) {
        battery_->setLeak(amperes);
    }
}

void SupplyState::advanceBattery(double seconds, bool powered)
{
    if (battery_) {
        const bool flowing = powered && outputOn_ && !silent_;
        battery_->advance(seconds, flowing ? batteryTerminal().amperes : 0.0);
    }
}

std::uint8_t SupplyState::statusByte() const
{
    return static_cast<std::uint8_t>((outputOn_ ? kOutputOnBit : 0) | modelCode_);
}

std::vector<std::uint8_t> SupplyState::reading() const
{
    int voltageWord = voltageRaw_;
    int currentWord = currentRaw_;
    if (outputOn_) {
        const ResistiveLoad::Reading actual = battery_ ? batteryReading() : loadReading();
        voltageWord = actual.voltageRaw + (actual.constantVoltage ? kRegulatingFlag : 0);
        currentWord = actual.currentRaw;
    }
    std::vector<std::uint8_t> bytes{statusByte()};
    appendWord(bytes, voltageWord);
    appendWord(bytes, currentWord);
    return bytes;
}

SupplyState::FullScale SupplyState::fullScale() const
{
    const std::optional<ModelProfile> profile = ModelTable::find(modelCode_);
    return profile ? FullScale{profile->voltageMax, profile->currentMax}
                   : FullScale{kUnknownFullScale, kUnknownFullScale};
}

ResistiveLoad::Reading SupplyState::loadReading() const
{
    const FullScale scale = fullScale();
    return load_.read(voltageRaw_, currentRaw_, scale.volts, scale.amperes);
}

SimulatedBattery::Terminal SupplyState::batteryTerminal() const
{
    const FullScale scale = fullScale();
    const double fullRaw = ResistiveLoad::kFullScaleRaw;
    return battery_->meet(voltageRaw_ * scale.volts / fullRaw, currentRaw_ * scale.amperes / fullRaw);
}

ResistiveLoad::Reading SupplyState::batteryReading() const
{
    const FullScale scale = fullScale();
    const SimulatedBattery::Terminal terminal = batteryTerminal();
    return {ResistiveLoad::toRaw(terminal.volts, scale.volts), ResistiveLoad::toRaw(terminal.amperes, scale.amperes),
        terminal.constantVoltage};
}

std::vector<std::uint8_t> SupplyState::noise(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(1, kMaxNoiseBytes);
    std::uniform_int_distribution<int> value(0, 255);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length(random)));
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(value(random));
    }
    return bytes;
}

int SupplyState::clampRaw(int raw)
{
    return std::clamp(raw, 0, ResistiveLoad::kFullScaleRaw);
}
