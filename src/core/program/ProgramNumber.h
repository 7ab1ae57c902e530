#pragma once

#include <string>

// A number as a program's file and the checks' messages write it: the
// shortest decimal that reads back as the same double (0.1 stays 0.1), with a
// point whatever the locale, in plain digits unless very large or very small.
class ProgramNumber {
public:
    static std::string text(double value);
};
