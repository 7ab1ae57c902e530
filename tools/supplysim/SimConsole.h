#pragma once

#include "SimulatedSupply.h"

#include <string>
#include <vector>

// Carries out the commands typed at tendrel-supply-sim, one line at a time.
class SimConsole {
public:
    enum class Status { Done, Quit, Failed };

    struct Result {
        Status status;
        std::string message; // what went wrong, or a new device path after plug
    };

    explicit SimConsole(SimulatedSupply& supply);

    Result execute(const std::string& line);

private:
    Result dispatch(const std::string& command, const std::vector<std::string>& arguments);
    Result switchCommand(const std::string& command, const std::vector<std::string>& arguments);
    Result modelCommand(const std::vector<std::string>& arguments);
    Result loadCommand(const std::vector<std::string>& arguments);
    Result setpointsCommand(const std::vector<std::string>& arguments);
    Result batteryCommand(const std::vector<std::string>& arguments);
    Result plug();

    SimulatedSupply& supply_;
};
