#pragma once

#include "engine/ProgramProgress.h"
#include "program/ProgramPlan.h"

#include <QWidget>

class QCPAbstractItem;
class QCPGraph;
class QCPItemRect;
class QCustomPlot;
class QLabel;

// The planned voltage (left axis) and current (right axis) of a program over
// its time, as the readings chart draws the measured ones. A step that may
// end sooner, on a measurement, is dashed; the output off is shaded; a run
// is marked where it stands.
class PlanChart : public QWidget {
    Q_OBJECT

public:
    explicit PlanChart(QWidget* parent = nullptr);

    void draw(const ProgramPlan& plan);
    // The running step shaded and a line at its time in it; none clears the mark.
    void showRun(const std::optional<ProgramProgress>& progress);
    // On the plan's time; none while no run is marked.
    std::optional<double> runSeconds() const { return runSeconds_; }

    QCustomPlot* plot() const { return plot_; }

private:
    void setUpAxes();
    void setUpGraphs();
    void drawCurves(const std::vector<ProgramPlan::Point>& points);
    void scale(const std::vector<ProgramPlan::Point>& points);
    void shade(const std::vector<ProgramPlan::Point>& points);
    QCPItemRect* shadeStretch(double from, double to, const QColor& color, const QString& text);
    void shadePastLimit(const ProgramPlan& plan);
    void numberSteps(const std::vector<ProgramPlan::Point>& points);
    void describe(const ProgramPlan& plan);
    void markRun();
    void clearRun();

    QCustomPlot* plot_;
    QLabel* note_;
    QCPGraph* voltage_ = nullptr;
    QCPGraph* voltageAtMaximum_ = nullptr;
    QCPGraph* current_ = nullptr;
    QCPGraph* currentAtMaximum_ = nullptr;
    std::vector<ProgramPlan::Point> points_;
    std::optional<ProgramProgress> run_;
    std::optional<double> runSeconds_;
    std::vector<QCPAbstractItem*> runItems_;
};
