#pragma once

#include "program/Program.h"
#include "programs/DurationDialog.h"
#include "programs/StepTreeView.h"
#include "supply/ModelProfile.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class StepDelegate;

// The steps and groups of a program, edited in place: a group's row holds its
// repeat count and its steps under it. Every edit is reported as it is made.
// The program's own limits and battery are shown, not edited, and kept.
class ProgramEditor : public QWidget {
    Q_OBJECT

public:
    explicit ProgramEditor(QWidget* parent = nullptr);

    Program program() const;
    void setProgram(const Program& program);
    // Selects the step of that number and shows it.
    void selectStep(int number);
    // The identified model's ranges bound the setpoints; all 0 while not known.
    void setRange(const ModelProfile& profile);
    // Not while the program runs: what is shown is what runs.
    void setEditable(bool editable);
    // The supply's setpoints, where the program's first ramp starts.
    void setHeld(double volts, double amperes) { held_ = {volts, amperes}; }

    QTreeWidget* tree() const { return tree_; }

signals:
    void edited();

private:
    QLayout* createButtons();
    QPushButton* addButton(QLayout* row, const QString& text, const char* name, void (ProgramEditor::*slot)());
    void addStep();
    void addGroup();
    void duplicate();
    void remove();
    void moveUp();
    void moveDown();
    void insertNew(QTreeWidgetItem* item);
    void place(QTreeWidgetItem* item, QTreeWidgetItem* parent, int index);
    QTreeWidgetItem* parentOf(QTreeWidgetItem* item) const;
    void openDialog(QTreeWidgetItem* item, int column);
    void showMenu(const QPoint& at);
    DurationDialog::Before before(int number) const;
    void changed();
    void updateButtons();
    void showOwn();

    StepTreeView* tree_;
    StepDelegate* delegate_;
    QComboBox* linkReturn_ = nullptr;
    QLabel* limitsLine_;
    QLabel* batteryLine_;
    ProtectionLimits limits_;
    std::optional<ProgramBattery> battery_;
    std::vector<QPushButton*> selectionButtons_;
    std::vector<QPushButton*> buttons_;
    ModelProfile profile_;
    DurationDialog::Before held_;
    bool editable_ = true;
};
