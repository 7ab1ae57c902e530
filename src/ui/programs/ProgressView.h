#pragma once

#include "engine/ProgramProgress.h"
#include "engine/RunSummary.h"

#include <QWidget>

class ProgramEngine;
class QLabel;

// Where the running program stands: its step, the step's end conditions with
// the values they watch, the times, why it paused; and what the last run did.
class ProgressView : public QWidget {
    Q_OBJECT

public:
    explicit ProgressView(ProgramEngine& engine, QWidget* parent = nullptr);

private:
    QLabel* addLabel(const char* name);
    void showProgress();
    QString stepText(const ProgramProgress& progress) const;
    static QString conditionsText(const ProgramProgress& progress);
    static QString timesText(const ProgramProgress& progress);
    void showSummary(const RunSummary& summary);
    // For a charge: how it ended, the charge against the stated capacity, the end values.
    QString reportText(const RunSummary& summary) const;
    QString endText(const RunSummary& summary) const;
    QString stepName(int number) const;

    ProgramEngine& engine_;
    QLabel* step_;
    QLabel* conditions_;
    QLabel* times_;
    QLabel* why_;
    QLabel* summary_;
};
