#pragma once

#include <QTreeWidget>

// The step editor's tree: a cell whose value is edited in a dialog asks for
// it on a double click or F2, as other cells open their editor in place.
class StepTreeView : public QTreeWidget {
    Q_OBJECT

public:
    using QTreeWidget::QTreeWidget;

signals:
    void dialogWanted(QTreeWidgetItem* item, int column);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
};
