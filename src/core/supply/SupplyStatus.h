#pragma once

#include <cstdint>

// The status byte: the model code, with the output bit above it.
int statusModelCode(std::int32_t status);
bool statusOutputOn(std::int32_t status);

// The voltage word: the reading, with the flag of voltage regulation above it.
bool wordRegulatesVoltage(std::int32_t voltageWord);
std::int32_t wordVoltageRaw(std::int32_t voltageWord);
