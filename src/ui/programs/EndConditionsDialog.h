#pragma once

#include "program/EndCondition.h"

#include <QDialog>

#include <vector>

class QTableWidget;

// The conditions that end a step, one a row: the first to hold on a reading
// with the output on ends it.
class EndConditionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit EndConditionsDialog(const std::vector<EndCondition>& conditions, QWidget* parent = nullptr);

    // Rows without a readable value are left out.
    std::vector<EndCondition> conditions() const;

private:
    void addRow(const EndCondition& condition);
    QLayout* createButtons();
    void removeRowOf(const QWidget* button);

    QTableWidget* table_;
};
