#pragma once

#include "readings/ReadingHistory.h"

#include <QColor>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <vector>

class QCPAxis;
class QCPGraph;
class QCPItemStraightLine;
class QCPRange;
class QCustomPlot;

// Voltage, current and power against time from a ReadingHistory, reduced to
// a few points per pixel column. It follows the newest reading until the
// user drags or zooms, and redraws nothing while hidden.
class ReadingsChart : public QWidget {
    Q_OBJECT
public:
    enum class Span { OneMinute, TenMinutes, OneHour, All };

    explicit ReadingsChart(const ReadingHistory& history, QWidget* parent = nullptr);

    void setFullScale(double volts, double amperes);
    // Shows that much of the newest history and follows it again.
    void setSpan(Span span);
    Span span() const { return span_; }
    void setFollowing(bool following);
    bool following() const { return following_; }
    // The history has a new reading, or was cleared.
    void historyChanged();
    bool savePng(const QString& path);
    // The reading closest to a point on the time axis, as shown under the pointer.
    QString describeNear(double epochSeconds) const;

    QCustomPlot* plot() const { return plot_; }
    static QColor markColor(ReadingHistory::EventKind kind);

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
    void moveToLiveEdge();
    void refresh();
    void placeMarks(double from, double to);
    QCPItemStraightLine* mark(std::size_t index);
    void onMouseMove(QPointF position);
    double originSeconds() const;
    double spanSeconds() const;

    const ReadingHistory& history_;
    QCustomPlot* plot_;
    QCPAxis* powerAxis_ = nullptr;
    QCPGraph* voltage_ = nullptr;
    QCPGraph* current_ = nullptr;
    QCPGraph* power_ = nullptr;
    QCPItemStraightLine* cursor_ = nullptr;
    std::vector<QCPItemStraightLine*> marks_;
    Span span_ = Span::TenMinutes;
    bool following_ = true;
    bool settingRange_ = false;
    bool stale_ = true;
};
