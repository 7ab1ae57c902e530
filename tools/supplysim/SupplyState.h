#pragma once

#include "ResistiveLoad.h"
#include "SupplyFrameParser.h"

#include <cstdint>
#include <random>
#include <vector>

// What the supply knows and how it reacts to one frame: setpoints, output, load and the
// faults it can be put into. No I/O and no locking; the owner serialises access.
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

private:
    std::uint8_t statusByte() const;
    std::vector<std::uint8_t> reading() const;
    static std::vector<std::uint8_t> noise(std::mt19937& random);
    static int clampRaw(int raw);

    int modelCode_;
    int voltageRaw_;
    int currentRaw_;
    ResistiveLoad load_;
    bool outputOn_;
    bool silent_ = false;
    bool panelSwitch_ = false;
    bool garbage_ = false;
};
