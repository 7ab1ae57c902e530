#pragma once

#include "program/Program.h"
#include "program/ProgramFile.h"
#include "text/Phrase.h"

#include <QByteArray>

#include <optional>
#include <string_view>

// The plain list of dwell_s,voltage_V,current_A other instruments use, each
// row a step with the output on for its dwell.
class ProgramCsv {
public:
    // The text without its byte-order mark, already within the bounds on a file.
    static ProgramFile::Read read(std::string_view text);
    // None, and `problem` says why, when the program holds what the list cannot carry.
    static std::optional<QByteArray> write(const Program& program, Phrase* problem);
};
