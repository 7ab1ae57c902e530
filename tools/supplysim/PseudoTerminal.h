#pragma once

#include <string>

// Owns a pseudo-terminal pair in raw mode. Keeps its own descriptor to the slave side
// so that the master sees no hang-up while the client closes and reopens the port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new pair, closing any earlier one; false (with errno kept) on failure.
    bool open();
    void close();

    bool isOpen() const { return masterFd_ >= 0; }
    int masterFd() const { return masterFd_; }
    const std::string& slavePath() const { return slavePath_; }

private:
    bool openMaster();
    bool openSlave();

    int masterFd_ = -1;
    int slaveFd_ = -1;
    std::string slavePath_;
};
