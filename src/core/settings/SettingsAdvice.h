#pragma once

#include "settings/SettingsFile.h"
#include "text/Phrase.h"

#include <string>

// What the user is told when the settings file cannot be read or written:
// what is wrong, with which file, and the command that fixes it.
class SettingsAdvice {
public:
    // Empty for Problem::None.
    static Phrase about(SettingsFile::Problem problem, const std::string& path);

private:
    static std::string shellQuoted(const std::string& path);
};
