#pragma once

#include <QDateTime>
#include <QString>

#include <chrono>
#include <vector>

// What one run of a program did, written beside its recording.
struct RunSummary {
    QDateTime started;
    QDateTime ended;
    QString endReason;
    double ampereHours = 0.0;
    double wattHours = 0.0;
    // By step number from 1: the time spent in the step, repeats added up.
    std::vector<std::chrono::milliseconds> stepTimes;
};
