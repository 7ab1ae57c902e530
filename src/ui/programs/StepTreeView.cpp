#include "programs/StepTreeView.h"

#include "programs/ProgramTree.h"

bool StepTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool asked = trigger == DoubleClicked || trigger == EditKeyPressed;
    QTreeWidgetItem* item = itemFromIndex(index);
    if (asked && editTriggers().testFlag(trigger) && item != nullptr
        && ProgramTree::editedInDialog(*item, index.column())) {
        emit dialogWanted(item, index.column());
        return true;
    }
    return QTreeWidget::edit(index, trigger, event);
}
