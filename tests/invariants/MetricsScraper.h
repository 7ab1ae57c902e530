#pragma once

#include "Moment.h"

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <map>
#include <string>

// Scrapes the metrics server over HTTP now and then, as Prometheus would.
class MetricsScraper final : public QObject {
    Q_OBJECT

public:
    struct Scrape {
        Moment asked;
        Moment answered;
        // Each sample's value by its name, labels left out: there is one supply.
        std::map<std::string, double> samples;
    };

    MetricsScraper(quint16 port, std::chrono::milliseconds every);
    ~MetricsScraper() override;
    MetricsScraper(const MetricsScraper&) = delete;
    MetricsScraper& operator=(const MetricsScraper&) = delete;
    std::function<void(const Scrape&)> scraped;

private:
    void ask();
    void read();
    void finish(const std::string& body);

    quint16 port_;
    QTimer every_;
    QTcpSocket socket_;
    QByteArray body_;
    Moment asked_;
};
