#include "programs/PlanChart.h"

#include "programs/StepTexts.h"

#include <qcustomplot.h>

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor kVoltageColor(0x1f, 0x5f, 0xbf);
const QColor kCurrentColor(0xc8, 0x2a, 0x2a);
const QColor kOutputOffShade(0, 0, 0, 22);
const QColor kEndlessShade(0x1f, 0x5f, 0xbf, 18);
const QColor kPastLimitShade(0xb0, 0x00, 0x00, 22);
const QColor kRunColor(0x17, 0x70, 0x2a);
const QColor kRunShade(0x17, 0x70, 0x2a, 30);
const QColor kRunLabelBackground(255, 255, 255, 220);
constexpr double kHeadroom = 1.1;
constexpr double kEmptySeconds = 60.0;
// More steps than this would write their numbers over one another.
constexpr std::size_t kMostNumberedSteps = 40;

using Points = std::vector<ProgramPlan::Point>;

// Each step's stretch, with the jump into it from the step before, goes to
// the solid or the dashed curve; a gap breaks the other one.
std::pair<QVector<QCPGraphData>, QVector<QCPGraphData>> split(
    const Points& points, double (*value)(const ProgramPlan::Point&))
{
    QVector<QCPGraphData> solid;
    QVector<QCPGraphData> dashed;
    const double gap = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        const ProgramPlan::Point& start = points[i];
        const ProgramPlan::Point& end = points[i + 1];
        QVector<QCPGraphData>& into = start.atMaximum ? dashed : solid;
        QVector<QCPGraphData>& other = start.atMaximum ? solid : dashed;
        if (i > 0) {
            into.append({points[i - 1].seconds, value(points[i - 1])});
        }
        into.append({start.seconds, value(start)});
        into.append({end.seconds, value(end)});
        other.append({end.seconds, gap});
    }
    return {solid, dashed};
}

void setData(QCPGraph* graph, const QVector<QCPGraphData>& points)
{
    auto data = QSharedPointer<QCPGraphDataContainer>::create();
    data->set(points, true);
    graph->setData(data);
}

double voltsOf(const ProgramPlan::Point& point)
{
    return point.volts;
}

double amperesOf(const ProgramPlan::Point& point)
{
    return point.amperes;
}

// The step's stretch nearest to when it began: a repeated step is drawn once a pass.
std::optional<std::size_t> stretchOf(const Points& points, int step, double began)
{
    std::optional<std::size_t> nearest;
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        if (points[i].step == step
            && (!nearest || std::abs(points[i].seconds - began) < std::abs(points[*nearest].seconds - began))) {
            nearest = i;
        }
    }
    return nearest;
}

double secondsOf(std::chrono::milliseconds duration)
{
    return static_cast<double>(duration.count()) / 1000.0;
}

} // namespace

PlanChart::PlanChart(QWidget* parent)
    : QWidget(parent)
    , plot_(new QCustomPlot(this))
    , note_(new QLabel(this))
{
    note_->setObjectName(QStringLiteral("planNote"));
    note_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_, 1);
    layout->addWidget(note_);
    setUpAxes();
    setUpGraphs();
    plot_->setLocale(QLocale::c());
    setMinimumSize(400, 250);
}

void PlanChart::setUpAxes()
{
    auto ticker = QSharedPointer<QCPAxisTickerTime>::create();
    ticker->setTimeFormat(QStringLiteral("%h:%m:%s"));
    plot_->xAxis->setTicker(ticker);
    plot_->xAxis->setLabel(tr("Время от начала"));
    plot_->yAxis->setLabel(tr("Напряжение, В"));
    plot_->yAxis2->setLabel(tr("Ток, А"));
    plot_->yAxis2->setVisible(true);
    const std::pair<QCPAxis*, QColor> colored[] = {{plot_->yAxis, kVoltageColor}, {plot_->yAxis2, kCurrentColor}};
    for (const auto& [axis, color] : colored) {
        axis->setLabelColor(color);
        axis->setTickLabelColor(color);
        axis->setBasePen(QPen(color));
    }
}

void PlanChart::setUpGraphs()
{
    const auto add = [this](QCPAxis* axis, const QColor& color, const char* name, double width, Qt::PenStyle style) {
        QCPGraph* graph = plot_->addGraph(plot_->xAxis, axis);
        graph->setPen(QPen(color, width, style));
        graph->setName(tr(name));
        return graph;
    };
    voltage_ = add(plot_->yAxis, kVoltageColor, QT_TR_NOOP("Напряжение"), 3.0, Qt::SolidLine);
    current_ = add(plot_->yAxis2, kCurrentColor, QT_TR_NOOP("Ток"), 2.0, Qt::SolidLine);
    voltageAtMaximum_ = add(plot_->yAxis, kVoltageColor, QT_TR_NOOP("Напряжение"), 3.0, Qt::DashLine);
    currentAtMaximum_ = add(plot_->yAxis2, kCurrentColor, QT_TR_NOOP("Ток"), 2.0, Qt::DashLine);
    voltageAtMaximum_->removeFromLegend();
    currentAtMaximum_->removeFromLegend();
    // A row of its own above the plot, as on the readings chart.
    plot_->legend->setVisible(true);
    plot_->legend->setFillOrder(QCPLegend::foColumnsFirst);
    plot_->legend->setBorderPen(Qt::NoPen);
    plot_->axisRect()->insetLayout()->take(plot_->legend);
    plot_->plotLayout()->insertRow(0);
    plot_->plotLayout()->addElement(0, 0, plot_->legend);
    plot_->plotLayout()->setRowStretchFactor(0, 0.001);
}

void PlanChart::draw(const ProgramPlan& plan)
{
    plot_->clearItems();
    runItems_.clear();
    points_ = plan.points();
    drawCurves(points_);
    scale(points_);
    shade(points_);
    shadePastLimit(plan);
    numberSteps(points_);
    describe(plan);
    markRun();
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void PlanChart::showRun(const std::optional<ProgramProgress>& progress)
{
    run_ = progress;
    markRun();
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void PlanChart::markRun()
{
    clearRun();
    const std::optional<std::size_t> at
        = run_ ? stretchOf(points_, run_->step, secondsOf(run_->elapsed - run_->inStep)) : std::nullopt;
    if (!at) {
        return;
    }
    const double from = points_[*at].seconds;
    const double to = points_[*at + 1].seconds;
    runSeconds_ = std::min(from + secondsOf(run_->inStep), to);
    runItems_.push_back(shadeStretch(from, to, kRunShade, {}));
    auto* line = new QCPItemStraightLine(plot_);
    line->setPen(QPen(kRunColor, 2.0));
    auto* label = new QCPItemText(plot_);
    label->setText(tr("сейчас"));
    label->setColor(kRunColor);
    // Readable over the curves it crosses.
    label->setBrush(kRunLabelBackground);
    label->setPadding(QMargins(3, 1, 3, 1));
    label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Set as plot time across the whole height, before the coordinates they are read in.
    const std::pair<QCPItemPosition*, double> places[]
        = {{line->point1, 0.0}, {line->point2, 1.0}, {label->position, 0.06}};
    for (const auto& [position, height] : places) {
        position->setTypeX(QCPItemPosition::ptPlotCoords);
        position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        position->setCoords(*runSeconds_, height);
    }
    runItems_.push_back(line);
    runItems_.push_back(label);
}

void PlanChart::clearRun()
{
    for (QCPAbstractItem* item : runItems_) {
        plot_->removeItem(item);
    }
    runItems_.clear();
    runSeconds_.reset();
}

void PlanChart::drawCurves(const Points& points)
{
    const auto [volts, voltsAtMaximum] = split(points, voltsOf);
    const auto [amperes, amperesAtMaximum] = split(points, amperesOf);
    setData(voltage_, volts);
    setData(voltageAtMaximum_, voltsAtMaximum);
    setData(current_, amperes);
    setData(currentAtMaximum_, amperesAtMaximum);
}

void PlanChart::scale(const Points& points)
{
    double seconds = 0.0;
    double volts = 0.0;
    double amperes = 0.0;
    for (const ProgramPlan::Point& point : points) {
        seconds = std::max(seconds, point.seconds);
        volts = std::max(volts, point.volts);
        amperes = std::max(amperes, point.amperes);
    }
    plot_->xAxis->setRange(0.0, seconds > 0.0 ? seconds : kEmptySeconds);
    plot_->yAxis->setRange(0.0, volts > 0.0 ? volts * kHeadroom : 1.0);
    plot_->yAxis2->setRange(0.0, amperes > 0.0 ? amperes * kHeadroom : 1.0);
}

// Stretches of the output off, and the group drawn once that repeats until stopped.
void PlanChart::shade(const Points& points)
{
    const auto stretches
        = [&points, this](bool (*marked)(const ProgramPlan::Point&), const QColor& color, const QString& text) {
              for (std::size_t i = 0; i < points.size(); i += 2) {
                  if (!marked(points[i])) {
                      continue;
                  }
                  const double from = points[i].seconds;
                  while (i + 2 < points.size() && marked(points[i + 2])) {
                      i += 2;
                  }
                  shadeStretch(from, points[i + 1].seconds, color, text);
              }
          };
    stretches([](const ProgramPlan::Point& point) { return !point.outputOn; }, kOutputOffShade, {});
    stretches([](const ProgramPlan::Point& point) { return point.repeatsUntilStopped; }, kEndlessShade,
        tr("повторяется до остановки"));
}

// Steps drawn past the program's time limit run only if those before end sooner.
void PlanChart::shadePastLimit(const ProgramPlan& plan)
{
    const double end = points_.empty() ? 0.0 : points_.back().seconds;
    if (plan.timeLimit() && *plan.timeLimit() < end) {
        shadeStretch(*plan.timeLimit(), end, kPastLimitShade, tr("после предела времени"));
    }
}

QCPItemRect* PlanChart::shadeStretch(double from, double to, const QColor& color, const QString& text)
{
    auto* rect = new QCPItemRect(plot_);
    rect->setLayer(QStringLiteral("background"));
    rect->setPen(Qt::NoPen);
    rect->setBrush(color);
    rect->setClipToAxisRect(true);
    for (QCPItemPosition* corner : {rect->topLeft, rect->bottomRight}) {
        corner->setTypeX(QCPItemPosition::ptPlotCoords);
        corner->setTypeY(QCPItemPosition::ptAxisRectRatio);
    }
    rect->topLeft->setCoords(from, 0.0);
    rect->bottomRight->setCoords(to, 1.0);
    if (text.isEmpty()) {
        return rect;
    }
    auto* label = new QCPItemText(plot_);
    label->setText(text);
    QColor opaque = color;
    opaque.setAlpha(255);
    label->setColor(opaque);
    label->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
    label->position->setTypeX(QCPItemPosition::ptPlotCoords);
    label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    label->position->setCoords(from, 0.98);
    return rect;
}

void PlanChart::numberSteps(const Points& points)
{
    if (points.size() > 2 * kMostNumberedSteps) {
        return;
    }
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        auto* number = new QCPItemText(plot_);
        number->setText(QString::number(points[i].step));
        number->setColor(Qt::darkGray);
        number->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
        number->position->setTypeX(QCPItemPosition::ptPlotCoords);
        number->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        number->position->setCoords((points[i].seconds + points[i + 1].seconds) / 2.0, 0.01);
    }
}

void PlanChart::describe(const ProgramPlan& plan)
{
    const Points& points = plan.points();
    if (points.empty()) {
        note_->setText(tr("В программе нет шагов."));
        return;
    }
    QStringList notes;
    if (plan.timeLimit()) {
        notes << tr("Длительность программы: не больше %1 — предел времени программы.")
                     .arg(StepTexts::seconds(*plan.timeLimit()));
    } else if (plan.knownSeconds()) {
        notes << tr("Длительность программы: %1.").arg(StepTexts::seconds(*plan.knownSeconds()));
    } else if (plan.maximumSeconds()) {
        notes << tr("Длительность программы: не больше %1.").arg(StepTexts::seconds(*plan.maximumSeconds()));
    } else {
        notes << tr("Программа идёт до остановки; группа «до остановки» показана один раз.");
    }
    if (std::any_of(points.begin(), points.end(), [](const auto& point) { return point.atMaximum; })) {
        notes << tr("Пунктир — шаги с окончанием по условию: показаны по наибольшей длительности, "
                    "а могут кончиться раньше.");
    }
    if (std::any_of(points.begin(), points.end(), [](const auto& point) { return !point.outputOn; })) {
        notes << tr("Серым — выход выключен.");
    }
    note_->setText(notes.join(u' '));
}
