#pragma once

#include "chart/EventMarks.h"
#include "readings/ReadingHistory.h"

#include <QPointF>
#include <QSharedPointer>
#include <QString>
#include <QWidget>

#include <optional>

class WallClockTicker;
class QCPAxis;
class QCPGraph;
class QCPItemStraightLine;
class QCPRange;
class QCustomPlot;

// Voltage, current and power against time from a ReadingHistory, reduced to
// a few points per pixel column. Time runs on the monotonic clock, labelled
// with the wall clock; each value axis fits what is shown. It follows the
// newest reading until the user drags or zooms, and redraws nothing while
// hidden.
class ReadingsChart : public QWidget {
    Q_OBJECT
public:
    enum class Span { OneMinute, TenMinutes, OneHour, All };

    explicit ReadingsChart(const ReadingHistory& history, QWidget* parent = nullptr);

    // The model's full scale: the ceiling of the fitted value axes.
    void setFullScale(double volts, double amperes);
    // Value axes from zero to the full scale instead of fitted to the curves.
    void setFullScaleShown(bool shown);
    // Shows that much of the newest history and follows it again.
    void setSpan(Span span);
    Span span() const { return span_; }
    void setFollowing(bool following);
    // The history has a new reading, or was cleared.
    void historyChanged();
    // With the title above the chart.
    bool savePng(const QString& path, const QString& title);
    // The reading closest to a key on the time axis (monotonic seconds), as
    // shown under the pointer.
    QString describeNear(double key) const;
    // The wall-clock times at the edges of the time axis.
    QString shownPeriod() const;

    QCustomPlot* plot() const { return plot_; }

signals:
    void spanChanged(Span span);
    void followingChanged(bool following);
    void pointed(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpAxes();
    void setUpGraphs();
    void onRangeChanged();
    void catchUp();
    void bringUpToDate();
    void moveToLiveEdge();
    void refresh();
    void scaleValues(const ReadingHistory::Decimated& shown);
    void takeChosenSpan();
    void onMouseMove(QPointF position);
    double originSeconds() const;
    double wallOffset() const;
    double historySeconds() const;
    double spanSeconds() const;
    static double lengthOf(Span span);

    const ReadingHistory& history_;
    QCustomPlot* plot_;
    EventMarks marks_;
    QSharedPointer<WallClockTicker> ticker_;
    QCPAxis* powerAxis_ = nullptr;
    QCPGraph* voltage_ = nullptr;
    QCPGraph* current_ = nullptr;
    QCPGraph* power_ = nullptr;
    QCPItemStraightLine* cursor_ = nullptr;
    // At first all the history from its first reading, until it is longer than the span that follows.
    Span span_ = Span::All;
    std::optional<Span> chosenSpan_ = Span::TenMinutes;
    double fullVolts_ = 0.0; // 0: not known yet
    double fullAmperes_ = 0.0;
    bool fullScaleShown_ = false;
    bool valuesZoomed_ = false;
    bool following_ = true;
    bool settingRange_ = false;
    bool stale_ = true;
};
