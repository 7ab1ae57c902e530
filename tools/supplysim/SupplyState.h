#pragma once

#include "BatteryPack.h"
#include "ResistiveLoad.h"
#include "SimulatedBattery.h"
#include "SupplyFrameParser.h"

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

// What the supply knows and how it reacts to one frame: setpoints, output, load or battery,
// and the faults it can be put into. No I/O, clock or locking; the owner serialises access
// and moves the battery's time on.
class SupplyState {
public:
    static constexpr int kMaxModelCode = 127;
    static constexpr int kRegulatingFlag = 1024;
    static constexpr std::uint8_t kOutputOnBit = 128;

    enum class Outcome { Applied, OtherModel, PanelSwitch, Unpowered };

    SupplyState(int modelCode, int voltageRaw, int currentRaw, double loadOhms, bool outputOn);

    // The bytes the supply sends back to a poll; none while silent.
    std::vector<std::uint8_t> answerPoll(std::mt19937& random) const;

    // Applies a set-voltage or set-current frame, unless something stops it.
    Outcome apply(const SupplyFrameParser::Frame& command);

    int modelCode() const { return modelCode_; }
    int voltageRaw() const { return voltageRaw_; }
    int currentRaw() const { return currentRaw_; }
    double loadOhms() const { return load_.ohms(); }
    bool outputOn() const { return outputOn_; }
    bool silent() const { return silent_; }

    void setModelCode(int code);
    void setSetpoints(int voltageRaw, int currentRaw);
    void setLoad(double ohms) { load_ = ResistiveLoad(ohms); }
    void setOutput(bool on) { outputOn_ = on; }
    void setSilent(bool silent);
    void setPanelSwitch(bool on) { panelSwitch_ = on; }
    void setGarbage(bool on) { garbage_ = on; }

    // A battery takes the resistive load's place for good.
    void attachBattery(const BatteryPack& pack) { battery_.emplace(pack); }
    const std::optional<SimulatedBattery>& battery() const { return battery_; }
    void setBatteryLeak(double amperes);
    // Moves the battery seconds on with the current the output gives it now; with
    // powered false the output counts as off, whatever its switch says.
    void advanceBattery(double seconds, bool powered);

private:
    struct FullScale {
        double volts;
        double amperes;
    };

    std::uint8_t statusByte() const;
    std::vector<std::uint8_t> reading() const;
    FullScale fullScale() const;
    ResistiveLoad::Reading loadReading() const;
    SimulatedBattery::Terminal batteryTerminal() const;
    ResistiveLoad::Reading batteryReading() const;
    static std::vector<std::uint8_t> noise(std::mt19937& random);
    static int clampRaw(int raw);

    int modelCode_;
    int voltageRaw_;
    int currentRaw_;
    ResistiveLoad load_;
    std::optional<SimulatedBattery> battery_;
    bool outputOn_;
    bool silent_ = false;
    bool panelSwitch_ = false;
    bool garbage_ = false;
};
