#pragma once

#include "outlook/OutwardState.h"

#include <cstdint>
#include <string>

// What a scrape tells of one supply: its outward state as its outlook tells
// it, copied as it changes, and the counters the metrics keep beside it.
struct SupplySnapshot {
    static constexpr const char* kNoModel = "none";

    std::string port;
    OutwardState state;
    std::uint64_t polls = 0;
    std::uint64_t missedPolls = 0;
    std::uint64_t trips = 0;
    double coulombs = 0.0;
    double joules = 0.0;
    bool recording = false;
    // The model last identified on the port: a lost link does not split the
    // supply's series by changing its label.
    std::string lastModel;

    const char* model() const { return lastModel.empty() ? kNoModel : lastModel.c_str(); }
};
