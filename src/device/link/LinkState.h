#pragma once

#include "link/AutoResetEvent.h"
#include "link/CommandSlots.h"
#include "link/PortClaims.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What one link shares between its owner's thread and its worker. Each scalar
// is written by one side and read by the other, so each is atomic; the events
// pace the worker: "EStart" gives it its turn to poll, "ETrans" cuts short its
// wait for commands.
struct LinkState {
    LinkState() = default;
    LinkState(const LinkState&) = delete;
    LinkState& operator=(const LinkState&) = delete;

    // Filled and ordered before the worker starts; unchanged while it runs.
    std::vector<std::string> portNames;
    int portCount() const { return static_cast<int>(portNames.size()); }
    // The port in use; the worker alone changes it. Wide enough for any list.
    std::atomic<std::int32_t> portIndex{0};
    const std::string& currentPortName() const;
    // Shared with the other links of the program; set before the worker starts.
    std::shared_ptr<PortClaims> claims = std::make_shared<PortClaims>();

    // The setpoints and the output switch waiting for the worker, with the
    // identified model whose code their frames carry.
    CommandSlots commands;

    std::atomic<bool> controlsLive{false};
    std::atomic<bool> dropPort{false};
    std::atomic<bool> stopLink{false};

    AutoResetEvent startEvent{true};
    AutoResetEvent transmitEvent{false};
};
