#pragma once

#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"

#include <string_view>
#include <variant>
#include <vector>

// The syntax of a program message: commands separated by semicolons, each a
// header, then whitespace and comma-separated parameters.
class ScpiParser {
public:
    // The commands of a line, cut at the semicolons outside quotes; blank ones
    // are left out.
    static std::vector<std::string_view> split(std::string_view line);
    // One command, or the syntax error that stops it.
    static std::variant<ScpiCommand, ScpiError> parse(std::string_view text);
};
