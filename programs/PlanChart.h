#pragma once

#include "program/ProgramPlan.h"

#include <QWidget>

class QCPGraph;
class QCustomPlot;
class QLabel;

// The planned voltage (left axis) and current (right axis) of a program over
// its time, as the readings chart draws the measured ones. A step that may
// end sooner, on a measurement, is dashed; the output off is shaded.
class PlanChart : public QWidget {
    Q_OBJECT

public:
    explicit PlanChart(QWidget* parent = nullptr);

    void draw(const ProgramPlan& plan);

    QCustomPlot* plot() const { return plot_; }
    QString note() const;

private:
    void setUpAxes();
    void setUpGraphs();
    void drawCurves(const std::vector<ProgramPlan::Point>& points);
    void scale(const std::vector<ProgramPlan::Point>& points);
    void shade(const std::vector<ProgramPlan::Point>& points);
    void shadeStretch(double from, double to, const QColor& color, const QString& text);
    void numberSteps(const std::vector<ProgramPlan::Point>& points);
    void describe(const ProgramPlan& plan);

    QCustomPlot* plot_;
    QLabel* note_;
    QCPGraph* voltage_ = nullptr;
    QCPGraph* voltageAtMaximum_ = nullptr;
    QCPGraph* current_ = nullptr;
    QCPGraph* currentAtMaximum_ = nullptr;
};
