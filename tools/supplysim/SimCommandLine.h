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
        bool version = false;
        std::string error; // empty when the arguments were understood
    };

    // arguments excludes the program name. Parsing goes through getopt_long,
    // whose state is global: one parse at a time.
    static Parsed parse(const std::vector<std::string>& arguments);
    static std::string usage(const std::string& program);
    static std::string version();

private:
    // given is the argument as written, for the messages.
    static std::string apply(int code, const std::string& value, const std::string& given, Parsed& parsed);
};
