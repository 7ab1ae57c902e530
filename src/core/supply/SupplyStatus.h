#pragma once

#include <cstdint>

// The status byte: the model code, with the output bit above it.
int statusModelCode(std::int32_t status);
bool statusOutputOn(std::int32_t status);
