#pragma once

#include <QString>
#include <QWidget>

struct Program;
class LimitsPanel;
class PlanChart;
class ProgramEditor;
class ProgramEngine;
class ProgressView;
class ProtectionWatch;
class RunControls;
class SupplyController;
class QLabel;
class QMenuBar;

// "Программы": the program's steps, the curve they plan, its run and the
// protection limits. A window of its own that never blocks the main one;
// closing it only hides it, and the program goes on running.
class ProgramsWindow : public QWidget {
    Q_OBJECT

public:
    ProgramsWindow(
        SupplyController& controller, ProgramEngine& engine, ProtectionWatch& protection, QWidget* parent = nullptr);

    // Shows the window in front.
    void open();
    // A program file, or a CSV list; a problem is shown and answered false.
    bool openFile(const QString& path);
    // As JSON, or exported as a CSV list when the name ends in .csv.
    bool saveFile(const QString& path);

    ProgramEditor& editor() { return *editor_; }
    PlanChart& chart() { return *chart_; }
    RunControls& runControls() { return *run_; }
    // The file the program was opened from or saved to; empty for a new one.
    const QString& path() const { return path_; }

private:
    QMenuBar* createMenu();
    QWidget* createSidePanel(ProgramEngine& engine, ProtectionWatch& protection);
    void askNewProgram();
    void startNewProgram();
    void chooseOpenFile();
    void chooseImportFile();
    void save();
    void chooseSaveFile();
    void chooseExportFile();
    void openChargeDialog();
    void takeNewProgram(const Program& program);
    void showProblem(const QString& title, const QString& text);
    void edited();
    void redraw();
    void showFile();
    void followSupply();
    void followEngine();
    void followRun();
    void fitScreen();

    SupplyController& controller_;
    ProgramEngine& engine_;
    ProgramEditor* editor_;
    PlanChart* chart_;
    RunControls* run_ = nullptr;
    ProgressView* progress_ = nullptr;
    LimitsPanel* limits_ = nullptr;
    QLabel* file_;
    QString path_;
    bool modified_ = false;
    QList<QAction*> editActions_;
};
