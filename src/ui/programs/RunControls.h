#pragma once

#include "program/Program.h"

#include <QWidget>

#include <functional>

class ProgramEngine;
class QLabel;
class QPushButton;

// Starts, pauses, resumes and stops the program as the engine's state allows,
// and says why the engine refused it.
class RunControls : public QWidget {
    Q_OBJECT

public:
    // The program to run is asked for at each start.
    RunControls(ProgramEngine& engine, std::function<Program()> program, QWidget* parent = nullptr);

    QString refusal() const;
    void clearRefusal();
    // A start's refusal stays only while it still holds, as after a trip is cleared.
    void recheck();

signals:
    // The step a refusal names; 0 for the whole program.
    void refused(int step);

private:
    QPushButton* addButton(const QString& text, const char* name);
    void start();
    void resume();
    void showState();
    void showRefusal(const QString& text);

    ProgramEngine& engine_;
    std::function<Program()> program_;
    QPushButton* start_;
    QPushButton* pause_;
    QPushButton* resume_;
    QPushButton* stop_;
    QLabel* refusal_;
    // Why the engine refused to start the program it had loaded.
    std::optional<QString> startRefusal_;
};
