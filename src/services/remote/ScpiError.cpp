#include "remote/ScpiError.h"

#include <array>
#include <charconv>
#include <limits>

namespace {

// Fits any double in fixed notation with three decimals.
constexpr std::size_t kFixedLength = std::numeric_limits<double>::max_exponent10 + 8;

ScpiError make(int code, std::string_view text, std::string_view detail = {})
{
    std::string full(text);
    if (!detail.empty()) {
        full.append(";").append(detail);
    }
    return {code, std::move(full)};
}

} // namespace

ScpiError ScpiError::commandError(std::string_view detail)
{
    return make(-100, "Command error", detail);
}

ScpiError ScpiError::dataTypeError()
{
    return make(-104, "Data type error");
}

ScpiError ScpiError::parameterNotAllowed()
{
    return make(-108, "Parameter not allowed");
}

ScpiError ScpiError::missingParameter()
{
    return make(-109, "Missing parameter");
}

ScpiError ScpiError::undefinedHeader()
{
    return make(-113, "Undefined header");
}

ScpiError ScpiError::headerSuffixOutOfRange()
{
    return make(-114, "Header suffix out of range");
}

ScpiError ScpiError::invalidSuffix()
{
    return make(-131, "Invalid suffix");
}

ScpiError ScpiError::executionError(std::string_view detail)
{
    return make(-200, "Execution error", detail);
}

ScpiError ScpiError::settingsConflict(std::string_view detail)
{
    return make(-221, "Settings conflict", detail);
}

// Without commas: some drivers split an error's text at them.
ScpiError ScpiError::tripLatched()
{
    return settingsConflict("protection tripped - clear it with OUTP:PROT:CLE first");
}

ScpiError ScpiError::panelSwitch()
{
    return settingsConflict("the supply's On/Off switch is on - it takes no commands until it is off");
}

ScpiError ScpiError::dataOutOfRange()
{
    return make(-222, "Data out of range");
}

ScpiError ScpiError::tooMuchData()
{
    return make(-223, "Too much data");
}

ScpiError ScpiError::illegalParameterValue()
{
    return make(-224, "Illegal parameter value");
}

ScpiError ScpiError::fileNameNotFound()
{
    return make(-256, "File name not found");
}

ScpiError ScpiError::dataStale()
{
    return make(-230, "Data corrupt or stale");
}

ScpiError ScpiError::queueOverflow()
{
    return make(-350, "Queue overflow");
}

ScpiError ScpiError::unknownSetpointSent(double volts)
{
    std::array<char, kFixedLength> text{};
    // Adding zero turns -0 into 0.
    const auto result = std::to_chars(text.data(), text.data() + text.size(), volts + 0.0, std::chars_format::fixed, 3);
    const std::string_view value(text.data(), static_cast<std::size_t>(result.ptr - text.data()));
    return make(1, "Voltage setpoint was not known", "sent " + std::string(value) + " V with the output switch");
}

std::string ScpiError::answer() const
{
    return std::to_string(code) + ",\"" + text + "\"";
}
