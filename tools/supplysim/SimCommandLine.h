#pragma once

#include "SimulatedSupply.h"

#include <string>
#include <vector>

// The options of tendrel-supply-sim.
class SimCommandLine {
public:
    struct Parsed {
        SimulatedSupply::Options options;
        std::string logFile; // frame log goes to stderr when empty
        bool help = false;
        std::string error; // empty when the arguments were understood
    };

    // arguments excludes the program name.
    static Parsed parse(const std::vector<std::string>& arguments);
    static std::string usage(const std::string& program);

private:
    static std::string apply(const std::string& option, const std::string& value, Parsed& parsed);
};
