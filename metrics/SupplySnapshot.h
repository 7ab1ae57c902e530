#pragma once

#include "controller/ProgramEngine.h"

#include <cstdint>
#include <optional>
#include <string>

// What a scrape tells of one supply, copied from the controller as it
// changes. A value that is not known now is empty, never a stale number.
struct SupplySnapshot {
    static constexpr const char* kNoModel = "none";

    std::string port;
    std::string model = kNoModel;
    bool linkUp = false;
    // Fresh readings only; 0 while the output is off, as nothing is delivered.
    std::optional<double> volts;
    std::optional<double> amperes;
    std::optional<bool> outputOn;
    // Only while the output is on and the readings fresh.
    std::optional<bool> constantCurrent;
    std::optional<double> voltageSetpoint;
    std::optional<double> currentSetpoint;
    std::uint64_t polls = 0;
    std::uint64_t missedPolls = 0;
    std::uint64_t trips = 0;
    double coulombs = 0.0;
    double joules = 0.0;
    bool recording = false;
    ProgramEngine::State programState = ProgramEngine::State::Idle;
    int programStep = 0;
};
