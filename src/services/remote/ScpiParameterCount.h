#pragma once

#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"

#include <optional>

// How many parameters a command may carry, checked before it runs.
class ScpiParameterCount {
public:
    // An error unless the command has no parameters.
    static std::optional<ScpiError> none(const ScpiCommand& command);
    // An error unless the command has exactly one parameter.
    static std::optional<ScpiError> one(const ScpiCommand& command);
};
