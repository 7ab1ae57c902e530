#include "supply/SupplyStatus.h"

#include "supply/WireProtocol.h"

int statusModelCode(std::int32_t status)
{
    return statusOutputOn(status) ? status - WireProtocol::kOutputOnBit : status;
}

bool statusOutputOn(std::int32_t status)
{
    return status >= WireProtocol::kOutputOnBit;
}

bool wordRegulatesVoltage(std::int32_t voltageWord)
{
    return voltageWord >= WireProtocol::kRegulationFlag;
}

std::int32_t wordVoltageRaw(std::int32_t voltageWord)
{
    return wordRegulatesVoltage(voltageWord) ? voltageWord - WireProtocol::kRegulationFlag : voltageWord;
}
