#include "chart/ReadingsChart.h"

#include "chart/WallClockTicker.h"
#include "readings/ValueScale.h"

#include <qcustomplot.h>

#include <QEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor kVoltageColor(0x1f, 0x5f, 0xbf);
const QColor kCurrentColor(0xc8, 0x2a, 0x2a);
const QColor kPowerColor(0xb0, 0x80, 0x10);

// "All" never shows less than this, so a young history is not stretched.
constexpr double kShortestSpanSeconds = 60.0;
constexpr int kMinimumColumns = 50;
constexpr int kColumnsUnlaidOut = 1000;

QSharedPointer<QCPGraphDataContainer> toData(const ReadingHistory::Series& series, double origin)
{
    QVector<QCPGraphData> points;
    points.reserve(static_cast<qsizetype>(series.seconds.size()));
    for (std::size_t i = 0; i < series.seconds.size(); ++i) {
        points.append(QCPGraphData(origin + series.seconds[i], series.values[i]));
    }
    auto data = QSharedPointer<QCPGraphDataContainer>::create();
    data->set(points, true);
    return data;
}

template <class TimePoint> double secondsOf(TimePoint time)
{
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

// Clamped within a few hundred thousand years: a far zoomed-out axis must not overflow the conversion.
QString wallText(double epochSeconds, const QString& format)
{
    constexpr double kFarthestMs = 1e16;
    const double ms
        = std::isnan(epochSeconds) ? 0.0 : std::clamp(std::floor(epochSeconds * 1000.0), -kFarthestMs, kFarthestMs);
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ms)).toString(format);
}

bool hasValues(const ReadingHistory::Series& series)
{
    return std::any_of(series.values.begin(), series.values.end(), [](double value) { return std::isfinite(value); });
}

// Nothing to fit, as before the first reading: the whole scale, whose ticks
// say what the axis measures, rather than a sliver above zero.
ValueScale::Range withoutValues(double fullScale)
{
    return {0.0, fullScale > 0.0 ? fullScale : 1.0};
}

} // namespace

ReadingsChart::ReadingsChart(const ReadingHistory& history, QWidget* parent)
    : QWidget(parent)
    , history_(history)
    , plot_(new QCustomPlot(this))
    , marks_(plot_)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_);
    setUpAxes();
    setUpGraphs();
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->setPlottingHint(QCP::phFastPolylines, true);
    plot_->setNotAntialiasedElements(QCP::aeAll);
    plot_->setLocale(QLocale::c()); // a decimal point, as everywhere in the program
    plot_->axisRect()->setRangeDrag(Qt::Horizontal);
    plot_->axisRect()->setRangeZoom(Qt::Horizontal);
    plot_->axisRect()->setRangeZoomAxes({plot_->xAxis}, {plot_->yAxis, plot_->yAxis2, powerAxis_});
    plot_->setMouseTracking(true);
    plot_->installEventFilter(this);
    connect(plot_->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &ReadingsChart::onRangeChanged);
    connect(plot_, &QCustomPlot::mouseMove, this, [this](QMouseEvent* event) { onMouseMove(event->position()); });
    setMinimumSize(400, 250);
}

void ReadingsChart::setUpAxes()
{
    ticker_ = QSharedPointer<WallClockTicker>::create();
    ticker_->setDateTimeFormat(QStringLiteral("hh:mm:ss"));
    plot_->xAxis->setTicker(ticker_);
    plot_->xAxis->setLabel(tr("Время"));
    plot_->yAxis->setLabel(tr("Напряжение, В"));
    plot_->yAxis2->setLabel(tr("Ток, А"));
    plot_->yAxis2->setVisible(true);
    powerAxis_ = plot_->axisRect()->addAxis(QCPAxis::atRight);
    powerAxis_->setLabel(tr("Мощность, Вт"));
    const std::pair<QCPAxis*, QColor> colored[]
        = {{plot_->yAxis, kVoltageColor}, {plot_->yAxis2, kCurrentColor}, {powerAxis_, kPowerColor}};
    for (const auto& [axis, color] : colored) {
        axis->setLabelColor(color);
        axis->setTickLabelColor(color);
        axis->setBasePen(QPen(color));
    }
}

void ReadingsChart::setUpGraphs()
{
    // Each axis is fitted to its own curve, so curves that move together (the
    // power under a steady current) lie on one another: each one drawn later
    // is narrower, and the power is dashed, so that all of them stay in sight.
    const auto add = [this](QCPAxis* axis, const QPen& pen, const char* name) {
        QCPGraph* graph = plot_->addGraph(plot_->xAxis, axis);
        graph->setPen(pen);
        graph->setName(tr(name));
        graph->setAdaptiveSampling(false); // the history gives it a few points per column already
        return graph;
    };
    voltage_ = add(plot_->yAxis, QPen(kVoltageColor, 4.0), QT_TR_NOOP("Напряжение"));
    current_ = add(plot_->yAxis2, QPen(kCurrentColor, 2.5), QT_TR_NOOP("Ток"));
    // Gaps as long as the dashes show the curves beneath. One pixel wide, the
    // dashes are stroked on the raster engine's fast path; at 2 px they
    // doubled the chart's redraw.
    QPen dashed(kPowerColor, 1.0, Qt::CustomDashLine, Qt::FlatCap);
    dashed.setDashPattern({3.0, 3.0});
    power_ = add(powerAxis_, dashed, QT_TR_NOOP("Мощность"));
    // A row of its own above the plot: inside it the legend would cover curves.
    plot_->legend->setVisible(true);
    plot_->legend->setFillOrder(QCPLegend::foColumnsFirst);
    plot_->legend->setBorderPen(Qt::NoPen);
    plot_->axisRect()->insetLayout()->take(plot_->legend);
    plot_->plotLayout()->insertRow(0);
    plot_->plotLayout()->addElement(0, 0, plot_->legend);
    plot_->plotLayout()->setRowStretchFactor(0, 0.001);
    cursor_ = new QCPItemStraightLine(plot_);
    cursor_->setPen(QPen(QColor(0, 0, 0, 120), 1.0));
    cursor_->setVisible(false);
}

void ReadingsChart::setFullScale(double volts, double amperes)
{
    if (!(volts > 0.0 && amperes > 0.0 && std::isfinite(volts * amperes))) {
        return;
    }
    fullVolts_ = volts;
    fullAmperes_ = amperes;
    catchUp();
}

void ReadingsChart::setFullScaleShown(bool shown)
{
    fullScaleShown_ = shown;
    valuesZoomed_ = false;
    catchUp();
}

void ReadingsChart::setSpan(Span span)
{
    chosenSpan_.reset();
    span_ = span;
    emit spanChanged(span);
    valuesZoomed_ = false;
    setFollowing(true);
}

// A short run fills the width from its first reading instead of the right end of the chosen span.
void ReadingsChart::takeChosenSpan()
{
    if (chosenSpan_ && historySeconds() > lengthOf(*chosenSpan_)) {
        span_ = *chosenSpan_;
        chosenSpan_.reset();
        emit spanChanged(span_);
    }
}

void ReadingsChart::setFollowing(bool following)
{
    if (following == following_ && !following) {
        return;
    }
    const bool changed = following != following_;
    following_ = following;
    if (following_) {
        valuesZoomed_ = false;
        moveToLiveEdge();
    }
    if (changed) {
        emit followingChanged(following_);
    }
}

void ReadingsChart::historyChanged()
{
    takeChosenSpan();
    catchUp();
}

// Hidden, it only notes that there is something to draw.
void ReadingsChart::catchUp()
{
    stale_ = true;
    if (isVisible()) {
        bringUpToDate();
    }
}

void ReadingsChart::bringUpToDate()
{
    following_ ? moveToLiveEdge() : refresh();
}

void ReadingsChart::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (stale_) {
        bringUpToDate();
    }
}

double ReadingsChart::originSeconds() const
{
    return secondsOf(history_.origin());
}

// From the newest reading: the labels show the wall clock as it is now.
double ReadingsChart::wallOffset() const
{
    if (history_.empty()) {
        return secondsOf(std::chrono::system_clock::now()) - secondsOf(std::chrono::steady_clock::now());
    }
    const Reading newest = history_.reading(history_.size() - 1);
    return secondsOf(newest.time) - secondsOf(newest.monotonic);
}

double ReadingsChart::historySeconds() const
{
    return history_.empty() ? 0.0 : history_.secondsAt(history_.size() - 1) - history_.secondsAt(0);
}

double ReadingsChart::spanSeconds() const
{
    return span_ == Span::All ? std::max(historySeconds(), kShortestSpanSeconds) : lengthOf(span_);
}

double ReadingsChart::lengthOf(Span span)
{
    switch (span) {
    case Span::OneMinute:
        return 60.0;
    case Span::TenMinutes:
        return 600.0;
    case Span::OneHour:
        return 3600.0;
    case Span::All:
        break;
    }
    return std::numeric_limits<double>::infinity();
}

void ReadingsChart::moveToLiveEdge()
{
    const double width = spanSeconds();
    // Without readings the axis starts now, where the first of them will come.
    double lower = secondsOf(std::chrono::steady_clock::now());
    if (!history_.empty()) {
        lower = span_ == Span::All ? originSeconds() + history_.secondsAt(0)
                                   : originSeconds() + history_.secondsAt(history_.size() - 1) - width;
    }
    settingRange_ = true;
    plot_->xAxis->setRange(lower, lower + width);
    settingRange_ = false;
    refresh();
}

void ReadingsChart::onRangeChanged()
{
    if (settingRange_) {
        return;
    }
    if (following_) {
        following_ = false;
        emit followingChanged(false);
    }
    refresh();
}

void ReadingsChart::refresh()
{
    stale_ = false;
    const double origin = originSeconds();
    const QCPRange range = plot_->xAxis->range();
    // Before its first layout the plot has no width yet: a PNG of a never
    // shown window still gets a full set of columns.
    const int width = plot_->axisRect()->width();
    const int columns = width > kMinimumColumns ? width : kColumnsUnlaidOut;
    const ReadingHistory::Decimated decimated = history_.decimate(range.lower - origin, range.upper - origin, columns);
    voltage_->setData(toData(decimated.voltage, origin));
    current_->setData(toData(decimated.current, origin));
    power_->setData(toData(decimated.power, origin));
    if (!valuesZoomed_) {
        scaleValues(decimated);
    }
    ticker_->setOffset(wallOffset());
    marks_.place(history_.eventsBetween(range.lower - origin, range.upper - origin), origin);
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void ReadingsChart::scaleValues(const ReadingHistory::Decimated& shown)
{
    const auto scale = [this](QCPAxis* axis, const ReadingHistory::Series& series, double fullScale) {
        const ValueScale::Range range = !hasValues(series) ? withoutValues(fullScale)
            : fullScaleShown_                              ? ValueScale::whole(series.values, fullScale)
                                                           : ValueScale::fit(series.values, fullScale);
        axis->setRange(range.lower, range.upper);
    };
    scale(plot_->yAxis, shown.voltage, fullVolts_);
    scale(plot_->yAxis2, shown.current, fullAmperes_);
    scale(powerAxis_, shown.power, fullVolts_ * fullAmperes_);
}

QString ReadingsChart::describeNear(double key) const
{
    if (history_.empty()) {
        return {};
    }
    const Reading reading = history_.reading(history_.nearestIndex(key - originSeconds()));
    const QString time = wallText(secondsOf(reading.time), QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz"));
    if (!reading.linked) {
        return tr("%1   нет связи").arg(time);
    }
    // Without output there is no regulation to name.
    const QString mode = !reading.outputOn ? tr("выход выкл.")
        : reading.voltageRegulated         ? tr("CV   выход вкл.")
                                           : tr("CC   выход вкл.");
    return tr("%1   %2 В   %3 А   %4 Вт   %5")
        .arg(time, QString::number(reading.voltage, 'f', 2), QString::number(reading.current, 'f', 2),
            QString::number(reading.voltage * reading.current, 'f', 2), mode);
}

QString ReadingsChart::shownPeriod() const
{
    const QCPRange range = plot_->xAxis->range();
    const double offset = wallOffset();
    const QString format = QStringLiteral("dd.MM.yyyy hh:mm:ss");
    const QString from = wallText(range.lower + offset, format);
    const QString to = wallText(range.upper + offset, format);
    // One date for a period within a day.
    return from.left(10) == to.left(10) ? QStringLiteral("%1–%2").arg(from, to.mid(11))
                                        : QStringLiteral("%1 – %2").arg(from, to);
}

void ReadingsChart::onMouseMove(QPointF position)
{
    if (history_.empty() || !plot_->axisRect()->rect().contains(position.toPoint())) {
        return;
    }
    const double key = plot_->xAxis->pixelToCoord(position.x());
    const double at = originSeconds() + history_.secondsAt(history_.nearestIndex(key - originSeconds()));
    cursor_->point1->setCoords(at, 0.0);
    cursor_->point2->setCoords(at, 1.0);
    cursor_->setVisible(true);
    plot_->replot(QCustomPlot::rpQueuedReplot);
    emit pointed(describeNear(key));
}

bool ReadingsChart::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel zooms time; with Ctrl it zooms the values, which then stay until followed again.
    if (watched == plot_ && event->type() == QEvent::Wheel) {
        const bool values = static_cast<QWheelEvent*>(event)->modifiers().testFlag(Qt::ControlModifier);
        plot_->axisRect()->setRangeZoom(values ? Qt::Vertical : Qt::Horizontal);
        valuesZoomed_ = valuesZoomed_ || values;
    }
    if (watched == plot_ && event->type() == QEvent::Leave && cursor_->visible()) {
        cursor_->setVisible(false);
        plot_->replot(QCustomPlot::rpQueuedReplot);
        emit pointed({});
    }
    return QWidget::eventFilter(watched, event);
}

bool ReadingsChart::savePng(const QString& path, const QString& title)
{
    if (stale_) {
        bringUpToDate();
    }
    auto* heading = new QCPTextElement(plot_, title, QFont(font().family(), font().pointSize() + 1, QFont::Bold));
    plot_->plotLayout()->insertRow(0);
    plot_->plotLayout()->addElement(0, 0, heading);
    const QSize size = plot_->size().width() < 400 ? QSize(1000, 600) : plot_->size();
    const bool saved = plot_->savePng(path, size.width(), size.height());
    plot_->plotLayout()->remove(heading);
    plot_->plotLayout()->simplify();
    return saved;
}
