#pragma once

#include "link/RawSetpoint.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// The record shared by the supply controller and the link worker. Each scalar
// is written by one side and read by the other, so each is atomic; the two
// lists are handed over by the "EStart" handshake instead.
struct LinkState {
    LinkState() = default;
    LinkState(const LinkState&) = delete;
    LinkState& operator=(const LinkState&) = delete;

    // Filled and ordered before the worker starts; unchanged while it runs.
    std::vector<std::string> portNames;
    int portCount() const { return static_cast<int>(portNames.size()); }
    // The port in use; the worker alone changes it. Wide enough for any list.
    std::atomic<std::int32_t> portIndex{0};
    const std::string& currentPortName() const;

    std::atomic<std::int32_t> pollByte{100};
    std::atomic<std::int32_t> modelCode{0};

    // Command slots: the value is stored before its pending flag is raised.
    RawSetpoint setVoltageRaw;
    RawSetpoint setCurrentRaw;
    std::atomic<std::int32_t> voltagePending{0};
    std::atomic<std::int32_t> currentPending{0};
    std::atomic<std::int32_t> toggleOutput{0};

    std::atomic<std::uint8_t> dropPort{0};
    std::atomic<std::int32_t> stopLink{0};

    // Written by the worker between "EStart" and its post, read and emptied by
    // the supply controller while it handles that post.
    std::vector<std::int32_t> replyValues;

    std::atomic<std::int32_t> identified{0};
    std::atomic<std::int32_t> outputOn{0};
    std::atomic<std::int32_t> controlsLive{0};
    std::atomic<std::int32_t> adoptReadings{1};
    std::atomic<std::int32_t> missCount{0};
    std::atomic<std::int32_t> lastVoltageRaw{-1};
    std::atomic<std::int32_t> lastCurrentRaw{-1};
};
