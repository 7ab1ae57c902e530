#include "chart/WallClockTicker.h"

#include <cmath>

QString WallClockTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision)
{
    // Rounded to the millisecond: shifted there and back, a round time may come out a hair before itself.
    const double wall = std::round((tick + offset_) * 1000.0) / 1000.0;
    return QCPAxisTickerDateTime::getTickLabel(wall, locale, formatChar, precision);
}

QVector<double> WallClockTicker::createTickVector(double tickStep, const QCPRange& range)
{
    QVector<double> ticks = QCPAxisTickerDateTime::createTickVector(tickStep, range + offset_);
    for (double& tick : ticks) {
        tick -= offset_;
    }
    return ticks;
}
