#pragma once

#include <optional>
#include <string>
#include <vector>

// The serial ports the system knows, in the order it lists them. The variable
// TENDREL_SERIAL_PORTS, when set (even empty), replaces that list with its
// ':'-separated entries, so that pseudo-terminals can be used.
class PortList {
public:
    static constexpr const char* kOverrideVariable = "TENDREL_SERIAL_PORTS";

    static std::vector<std::string> build();
    static std::vector<std::string> fromOverride(const std::string& text);

private:
    static std::optional<std::string> overrideText();
    static std::vector<std::string> fromSystem();
};
