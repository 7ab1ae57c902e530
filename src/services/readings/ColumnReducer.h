#pragma once

#include "readings/ReadingHistory.h"

// The extremes of one series in one pixel column: those before the column's
// first link loss and those after it, so that a gap inside a column survives.
class ColumnReducer {
public:
    explicit ColumnReducer(ReadingHistory::Series& out);

    void add(double seconds, double value);
    void gap(double seconds);
    // Emits the column's extremes, with a break at its link loss, and starts
    // the next column.
    void flush();

private:
    struct Run {
        bool any = false;
        double minSeconds = 0.0;
        double min = 0.0;
        double maxSeconds = 0.0;
        double max = 0.0;

        void add(double seconds, double value);
        void emitTo(ReadingHistory::Series& out) const;
    };

    ReadingHistory::Series& out_;
    Run before_;
    Run after_;
    bool gapSeen_ = false;
    double gapSeconds_ = 0.0;
};
