#include "metrics/MetricsBoard.h"

MetricsBoard::MetricsBoard(std::size_t supplies)
    : supplies_(supplies)
{
}

void MetricsBoard::store(std::size_t index, const SupplySnapshot& snapshot)
{
    const std::lock_guard lock(mutex_);
    supplies_.at(index) = snapshot;
}

void MetricsBoard::setRemoteClients(std::optional<int> clients)
{
    const std::lock_guard lock(mutex_);
    remoteClients_ = clients;
}

std::vector<SupplySnapshot> MetricsBoard::supplies() const
{
    const std::lock_guard lock(mutex_);
    return supplies_;
}

std::optional<int> MetricsBoard::remoteClients() const
{
    const std::lock_guard lock(mutex_);
    return remoteClients_;
}
