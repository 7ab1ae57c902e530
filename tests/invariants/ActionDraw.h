#pragma once

#include "supply/ModelProfile.h"

#include <cstdint>
#include <random>
#include <string>

// Draws the arguments of actions for one model from the run's seed: values
// within the model's range, SCPI lines (some with errors), MQTT payloads,
// programs and protection limits.
class ActionDraw {
public:
    ActionDraw(std::uint64_t seed, const ModelProfile& model);

    // 0 .. n-1.
    int below(int n);
    bool chance(int percent) { return below(100) < percent; }
    int gapMs();

    std::string volts();
    std::string amperes();
    std::string scpiLine();
    std::string mqttPayload();
    std::string program();
    std::string protection();

private:
    std::string decimal(double low, double high, int decimals);
    std::string scpiFragment();
    std::string scpiProgram();
    std::string programStep();

    std::mt19937_64 random_;
    ModelProfile model_;
};
