#pragma once

#include "metrics/MetricsBoard.h"
#include "metrics/SupplySnapshot.h"

#include <QObject>

#include <cstddef>
#include <functional>
#include <string>

class ReadingsModel;
class SupplyOutlook;

// Follows one supply's outlook and readings, and puts a fresh snapshot on the
// board whenever one of them signals a change: a scrape never reads the
// controller itself.
class SupplyMetrics : public QObject {
public:
    struct Parts {
        const SupplyOutlook& outlook;
        const ReadingsModel& readings;
        // The port named for the run, or the one the link is on now.
        std::function<std::string()> portName;
    };

    SupplyMetrics(Parts parts, MetricsBoard& board, std::size_t index);

    // Reads the parts into the snapshot and stores it.
    void refresh();

private:
    void follow();

    Parts parts_;
    MetricsBoard& board_;
    std::size_t index_;
    SupplySnapshot snapshot_;
};
