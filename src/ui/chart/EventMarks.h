#pragma once

#include "readings/ReadingHistory.h"

#include <QColor>

#include <cstddef>
#include <vector>

class QCPItemStraightLine;
class QCustomPlot;

// The history's events as lines across the plot, beneath the curves. Of
// marks that would crowd within a few pixels only the first is drawn.
class EventMarks {
public:
    explicit EventMarks(QCustomPlot* plot);

    static QColor color(ReadingHistory::EventKind kind);

    // The events' seconds count from origin, in keys of the time axis.
    void place(const std::vector<ReadingHistory::Event>& events, double origin);

private:
    QCPItemStraightLine* line(std::size_t index);

    QCustomPlot* plot_;
    std::vector<QCPItemStraightLine*> lines_; // reused from one placing to the next
};
