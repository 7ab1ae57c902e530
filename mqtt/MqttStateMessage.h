#pragma once

#include <string>

class ProgramEngine;
class ProtectionWatch;
class SupplyController;

// The state topic's JSON: the last reading and what the supply is set to,
// each value null while it is not known.
class MqttStateMessage {
public:
    static std::string of(
        const SupplyController& controller, const ProgramEngine& programs, const ProtectionWatch& protection);
};
