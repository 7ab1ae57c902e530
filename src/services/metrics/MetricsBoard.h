#pragma once

#include "metrics/SupplySnapshot.h"

#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

// The latest snapshot of each supply, written on the controllers' thread and
// copied whole by a scrape on the server's, so that neither waits for more
// than a copy.
class MetricsBoard {
public:
    explicit MetricsBoard(std::size_t supplies);

    void store(std::size_t index, const SupplySnapshot& snapshot);
    void setRemoteClients(std::optional<int> clients);
    std::vector<SupplySnapshot> supplies() const;
    std::optional<int> remoteClients() const;

private:
    mutable std::mutex mutex_;
    std::vector<SupplySnapshot> supplies_;
    std::optional<int> remoteClients_;
};
