#pragma once

#include <string>

struct OutwardState;

// The state topic's JSON: the supply's outward state as its outlook tells it,
// each value null while it is not known.
class MqttStateMessage {
public:
    static std::string of(const OutwardState& state);
};
