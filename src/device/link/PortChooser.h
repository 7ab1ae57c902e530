#pragma once

#include <string>
#include <vector>

// Puts the preferred port first, or keeps only the fixed one.
class PortChooser {
public:
    static constexpr const char* kAuto = "Auto";

    struct Choice {
        std::string usePort; // "Auto", or the fixed port that was found
        std::string lastPort;
        int portsFound = 0; // before a fixed port cut the list down
    };

    // usePort and lastPort as read from the settings; names is reordered in place.
    static Choice choose(std::vector<std::string>& names, const std::string& usePort, const std::string& lastPort);

    // The diagnostic summary of a choice, UTF-8.
    static std::string summary(const Choice& choice);
};
