#include "remote/ScpiParameterCount.h"

std::optional<ScpiError> ScpiParameterCount::none(const ScpiCommand& command)
{
    if (!command.parameters.empty()) {
        return ScpiError::parameterNotAllowed();
    }
    return std::nullopt;
}

std::optional<ScpiError> ScpiParameterCount::one(const ScpiCommand& command)
{
    if (command.parameters.empty()) {
        return ScpiError::missingParameter();
    }
    if (command.parameters.size() > 1) {
        return ScpiError::parameterNotAllowed();
    }
    return std::nullopt;
}
