#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The supplies of a run, one port each: those of the command line, else
// those of the settings, else one supply on the settings' port choice.
class PortPlan {
public:
    // settingsList: "Ports" of the settings, separated by commas or blanks.
    static std::vector<std::string> resolve(
        const std::vector<std::string>& commandLine, const std::string& settingsList);
    // One supply records to `path`; of several, each to the path with its
    // port's name, or its number when it hunts, before the extension.
    static std::string recordingPath(
        const std::string& path, const std::string& port, std::size_t index, std::size_t count);
};
