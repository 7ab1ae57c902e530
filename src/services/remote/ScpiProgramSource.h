#pragma once

#include "program/Program.h"
#include "remote/ScpiError.h"

#include <QString>

#include <string>
#include <variant>

// The program a client names for PROGram:LOAD: a file of the programs folder,
// by its name as a quoted string, or the file's content sent as a
// definite-length block. JSON or the CSV list, as the programs window reads
// them. A name is a plain file name: no folder, no path out of the folder.
class ScpiProgramSource {
public:
    static std::variant<Program, ScpiError> read(const std::string& parameter, const QString& folder);

private:
    static std::variant<Program, ScpiError> fromBlock(std::string_view data);
    static std::variant<Program, ScpiError> fromFolder(const std::string& name, const QString& folder);
};
