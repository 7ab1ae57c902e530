#include "readings/WallClockTicker.h"

QString WallClockTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision)
{
    return QCPAxisTickerDateTime::getTickLabel(tick + offset_, locale, formatChar, precision);
}

QVector<double> WallClockTicker::createTickVector(double tickStep, const QCPRange& range)
{
    QVector<double> ticks = QCPAxisTickerDateTime::createTickVector(tickStep, range + offset_);
    for (double& tick : ticks) {
        tick -= offset_;
    }
    return ticks;
}
