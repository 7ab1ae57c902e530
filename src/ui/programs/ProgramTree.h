#pragma once

#include "program/Program.h"

#include <QCoreApplication>
#include <QMetaType>
#include <QStringList>

#include <optional>

class QTreeWidget;
class QTreeWidgetItem;

// The step editor's rows as the program they show: a row holds its step, or
// a group's repeat count with its rows under it. A step whose maximum is its
// duration holds none, so that the maximum follows the duration when edited.
class ProgramTree {
    Q_DECLARE_TR_FUNCTIONS(ProgramTree)

public:
    enum Column { kNumber, kName, kVoltage, kCurrent, kOutput, kDuration, kEnds, kMaximum, kColumns };
    static constexpr int kStepRole = Qt::UserRole;
    static constexpr int kCountRole = Qt::UserRole + 1; // a group's repeats; 0 until stopped

    static QStringList headers();
    static void fill(QTreeWidget& tree, const Program& program);
    static ProgramGroup read(const QTreeWidgetItem& parent);

    static QTreeWidgetItem* makeStep(const ProgramStep& step);
    static QTreeWidgetItem* makeGroup(std::optional<int> count);
    static bool isGroup(const QTreeWidgetItem& item);
    static ProgramStep step(const QTreeWidgetItem& item);
    static std::optional<int> count(const QTreeWidgetItem& item);
    // A step's duration, ramped setpoint and end conditions are edited in dialogs.
    static bool editedInDialog(const QTreeWidgetItem& item, int column);

    // Numbers the steps in file order and writes every row's texts.
    static void renumber(QTreeWidget& tree);
    // None when there is no such step.
    static QTreeWidgetItem* stepItem(QTreeWidget& tree, int number);

private:
    static void add(QTreeWidgetItem& parent, const ProgramGroup& group);
    static int renumber(QTreeWidgetItem& parent, int next);
    static void showStep(QTreeWidgetItem& item, int number);
    static void showGroup(QTreeWidgetItem& item);
};

Q_DECLARE_METATYPE(ProgramStep)
