#pragma once

#include <string>
#include <vector>

// One command of a line, as the client wrote it: its header split into
// upper-case mnemonics, and its parameters with the spaces around them removed.
struct ScpiCommand {
    std::vector<std::string> mnemonics; // "*IDN" for a common command
    bool common = false; // starts with '*'
    bool absolute = false; // starts with ':', so it ignores the previous command's path
    bool query = false;
    std::vector<std::string> parameters;
};
