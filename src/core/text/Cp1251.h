#pragma once

#include <string>

// The single-byte Cyrillic code page of the settings file and the log file.
class Cp1251 {
public:
    static std::string toUtf8(const std::string& bytes);
    // Characters the code page lacks become '?'.
    static std::string fromUtf8(const std::string& utf8);
};
