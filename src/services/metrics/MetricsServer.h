#pragma once

#include "metrics/MetricsBoard.h"
#include "metrics/MetricsConfig.h"
#include "metrics/SupplyMetrics.h"

#include <QString>
#include <QThread>

#include <future>
#include <iosfwd>
#include <memory>
#include <optional>
#include <vector>

// The Prometheus metrics of the supplies, served over HTTP on a thread of its
// own: the controllers' thread only copies each supply's latest values onto
// the board, and a scrape formats them there. Off unless the option or the
// settings ask for it.
class MetricsServer {
public:
    // None when not asked for, refused or unable to listen; `messages` is told why.
    static std::unique_ptr<MetricsServer> start(
        const std::vector<SupplyMetrics::Parts>& supplies, const MetricsConfig& config, std::ostream& messages);

    explicit MetricsServer(const std::vector<SupplyMetrics::Parts>& supplies);
    ~MetricsServer();
    MetricsServer(const MetricsServer&) = delete;
    MetricsServer& operator=(const MetricsServer&) = delete;

    // Empty once listening; otherwise why not. Once only.
    QString listen(const ListenAddress& address);
    quint16 port() const { return port_; }
    // Empty while the remote-control server is off.
    void setRemoteClients(std::optional<int> clients) { board_.setRemoteClients(clients); }
    MetricsBoard& board() { return board_; }

private:
    // The server's thread: listens, tells `listening` how that went, and answers until quit.
    void serve(const ListenAddress& address, std::promise<QString>& listening);

    MetricsBoard board_;
    std::vector<std::unique_ptr<SupplyMetrics>> supplies_;
    std::unique_ptr<QThread> thread_;
    quint16 port_ = 0;
};
