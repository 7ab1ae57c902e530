#pragma once

#include <qcustomplot.h>

// Labels a time axis whose keys are monotonic seconds with the wall clock,
// ticks at round wall times: setting the clock moves the labels, not the curves.
class WallClockTicker : public QCPAxisTickerDateTime {
public:
    // Wall-clock seconds since the epoch minus the axis key, at the newest reading.
    void setOffset(double seconds) { offset_ = seconds; }

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;

private:
    double offset_ = 0.0;
};
