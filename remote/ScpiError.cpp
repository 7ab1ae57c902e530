#include "remote/ScpiError.h"

namespace {

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

ScpiError ScpiError::invalidSuffix()
{
    return make(-131, "Invalid suffix");
}

ScpiError ScpiError::executionError(std::string_view detail)
{
    return make(-200, "Execution error", detail);
}

ScpiError ScpiError::dataOutOfRange()
{
    return make(-222, "Data out of range");
}

ScpiError ScpiError::illegalParameterValue()
{
    return make(-224, "Illegal parameter value");
}

ScpiError ScpiError::queueOverflow()
{
    return make(-350, "Queue overflow");
}

std::string ScpiError::answer() const
{
    return std::to_string(code) + ",\"" + text + "\"";
}
