#pragma once

#include <string>
#include <utility>
#include <vector>

// Which ports the link polls and in which order, and which port settings a
// save writes: the choice made at start-up, the port last answered on, and a
// port given for this run only.
class PortSelection {
public:
    // Drives this one port for this run, as a fixed port setting would, or
    // with "Auto" hunts on every port, leaving the file's port settings as they are.
    void useForThisRun(std::string device) { forThisRun_ = std::move(device); }
    // Lists the serial ports; false when the computer has none.
    bool list();
    // Orders the list as the settings ask; returns the diagnostic summary, UTF-8.
    std::string choose(const std::string& usePort, const std::string& lastPort);
    void answeredOn(const std::string& port) { lastPort_ = port; }
    // "UsePort" and "LastPort" as a save writes them.
    std::pair<std::string, std::string> toSave() const;

    const std::vector<std::string>& names() const { return names_; }
    const std::string& usePort() const { return usePort_; }
    const std::string& lastPort() const { return lastPort_; }

private:
    std::string forThisRun_;
    std::vector<std::string> names_;
    std::string usePort_;
    std::string lastPort_;
    std::pair<std::string, std::string> filePorts_;
};
