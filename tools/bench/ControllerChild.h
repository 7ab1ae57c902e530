#pragma once

#include "ProcessProbe.h"

#include "SimulatedSupply.h"

#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <vector>

// The built controller as a child, on simulated supplies of its own and with
// settings of its own: windowed (offscreen), or headless with its remote server
// on a free local port.
class ControllerChild {
public:
    enum class Face { Headless, Windowed };

    ControllerChild(Face face, int supplies);

    // Every supply polled often enough to have named its model.
    bool waitUntilConnected(std::chrono::milliseconds timeout) const;
    bool commandedNothing() const;
    const ProcessProbe& probe() const { return *probe_; }
    // SIGTERM, then the exit code; -1 when it did not end normally.
    int terminate() { return probe_->terminateAndWait(); }

private:
    QStringList arguments(Face face) const;
    QProcessEnvironment environment(Face face) const;

    QTemporaryDir config_;
    std::vector<std::unique_ptr<SimulatedSupply>> supplies_;
    std::unique_ptr<ProcessProbe> probe_;
};
