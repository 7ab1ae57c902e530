#pragma once

#include <cstdint>

// The two values a supply is set to and reads back. Every layer names them
// with this one type: a frame on the wire, a ramp, a setpoint, an edit.
enum class Quantity : std::uint8_t { Voltage, Current };
