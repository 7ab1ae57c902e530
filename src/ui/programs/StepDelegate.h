#pragma once

#include "supply/ModelProfile.h"

#include <QStyledItemDelegate>

// Edits a step editor's cell in place, each value with its unit and within
// the model's range once a supply is identified. The duration and the end
// conditions open dialogs of their own and have no editor here.
class StepDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // All 0 while no supply is identified.
    void setRange(const ModelProfile& profile) { profile_ = profile; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // A text cut short with "…" shows whole on hovering, where it has no tooltip of its own.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;

private:
    QWidget* createStepEditor(QWidget* parent, const QModelIndex& index) const;

    ModelProfile profile_;
};
