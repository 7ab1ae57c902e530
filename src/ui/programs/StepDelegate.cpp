#include "programs/StepDelegate.h"

#include "programs/ProgramTree.h"
#include "programs/StepTexts.h"
#include "programs/UnitEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolTip>

namespace {

constexpr int kMostRepeats = 1000000;

bool isGroup(const QModelIndex& index)
{
    return index.siblingAtColumn(ProgramTree::kNumber).data(ProgramTree::kCountRole).isValid();
}

ProgramStep stepAt(const QModelIndex& index)
{
    return index.siblingAtColumn(ProgramTree::kNumber).data(ProgramTree::kStepRole).value<ProgramStep>();
}

bool ramped(const ProgramStep& step, Quantity quantity)
{
    return step.ramp && step.ramp->quantity == quantity;
}

// The output's choices in the order of the combo box: on, off, kept.
int outputIndex(std::optional<bool> on)
{
    return on ? (*on ? 0 : 1) : 2;
}

std::optional<bool> outputOf(int index)
{
    return index == 2 ? std::nullopt : std::optional(index == 0);
}

// As the style lays the text out in its cell, with the margins either side.
bool elided(const QStyleOptionViewItem& option, const QAbstractItemView& view, const QString& text)
{
    const int margins = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, &view) + 1);
    return option.fontMetrics.horizontalAdvance(text) > option.rect.width() - margins;
}

} // namespace

QWidget* StepDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    if (!isGroup(index)) {
        return createStepEditor(parent, index);
    }
    auto* repeats = new QSpinBox(parent);
    repeats->setRange(0, kMostRepeats);
    repeats->setPrefix(tr("Группа: повторить "));
    repeats->setSpecialValueText(tr("Группа: повторять до остановки"));
    // "3 раза", "5 раз": the word follows the number.
    connect(repeats, &QSpinBox::valueChanged, repeats,
        [repeats](int count) { repeats->setSuffix(StepTexts::times(count).mid(QString::number(count).size())); });
    repeats->setToolTip(tr("0 — повторять, пока программу не остановят"));
    return repeats;
}

QWidget* StepDelegate::createStepEditor(QWidget* parent, const QModelIndex& index) const
{
    const ProgramStep step = stepAt(index);
    switch (index.column()) {
    case ProgramTree::kName:
        return new QLineEdit(parent);
    case ProgramTree::kVoltage:
    case ProgramTree::kCurrent: {
        const Quantity quantity = index.column() == ProgramTree::kVoltage ? Quantity::Voltage : Quantity::Current;
        if (ramped(step, quantity)) {
            return nullptr;
        }
        auto* edit = new UnitEdit(UnitEdit::Kind::Number, quantity == Quantity::Voltage ? tr("В") : tr("А"), parent);
        edit->setRange(profile_, quantity);
        edit->setPlaceholderText(tr("не менять"));
        return edit;
    }
    case ProgramTree::kOutput: {
        auto* output = new QComboBox(parent);
        output->addItems({tr("вкл."), tr("выкл."), tr("— не менять")});
        return output;
    }
    case ProgramTree::kMaximum: {
        auto* edit = new UnitEdit(UnitEdit::Kind::Duration, tr("с"), parent);
        edit->setPlaceholderText(tr("как длительность"));
        return edit;
    }
    default:
        return nullptr;
    }
}

void StepDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* repeats = qobject_cast<QSpinBox*>(editor)) {
        repeats->setValue(index.siblingAtColumn(ProgramTree::kNumber).data(ProgramTree::kCountRole).toInt());
        return;
    }
    const ProgramStep step = stepAt(index);
    if (auto* output = qobject_cast<QComboBox*>(editor)) {
        output->setCurrentIndex(outputIndex(step.output));
    } else if (auto* edit = qobject_cast<UnitEdit*>(editor)) {
        if (index.column() == ProgramTree::kMaximum) {
            edit->setDuration(step.maxDuration.count() > 0 ? std::optional(step.maxDuration) : std::nullopt);
        } else {
            edit->setValue(index.column() == ProgramTree::kVoltage ? step.volts : step.amperes);
        }
    } else if (auto* name = qobject_cast<QLineEdit*>(editor)) {
        name->setText(QString::fromStdString(step.name));
    }
}

void StepDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    const QModelIndex first = index.siblingAtColumn(ProgramTree::kNumber);
    if (auto* repeats = qobject_cast<QSpinBox*>(editor)) {
        model->setData(first, repeats->value(), ProgramTree::kCountRole);
        return;
    }
    ProgramStep step = stepAt(index);
    if (auto* output = qobject_cast<QComboBox*>(editor)) {
        step.output = outputOf(output->currentIndex());
    } else if (auto* edit = qobject_cast<UnitEdit*>(editor)) {
        if (!edit->readable()) {
            return;
        }
        if (index.column() == ProgramTree::kVoltage) {
            step.volts = edit->value();
        } else if (index.column() == ProgramTree::kCurrent) {
            step.amperes = edit->value();
        } else {
            step.maxDuration = edit->duration().value_or(std::chrono::milliseconds{0});
        }
    } else if (auto* name = qobject_cast<QLineEdit*>(editor)) {
        step.name = name->text().trimmed().toStdString();
    }
    model->setData(first, QVariant::fromValue(step), ProgramTree::kStepRole);
}

bool StepDelegate::helpEvent(
    QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (event->type() == QEvent::ToolTip && view != nullptr && !index.data(Qt::ToolTipRole).isValid()
        && elided(option, *view, text)) {
        QToolTip::showText(event->globalPos(), text, view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
