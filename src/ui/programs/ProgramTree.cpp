#include "programs/ProgramTree.h"

#include "programs/StepTexts.h"

#include <QFont>
#include <QTreeWidget>

QStringList ProgramTree::headers()
{
    return {tr("№"), tr("Название"), tr("Напряжение"), tr("Ток"), tr("Выход"), tr("Длительность"),
        tr("Окончание по условию"), tr("Не дольше")};
}

void ProgramTree::fill(QTreeWidget& tree, const Program& program)
{
    tree.clear();
    add(*tree.invisibleRootItem(), program.body);
    renumber(tree);
    tree.expandAll();
}

void ProgramTree::add(QTreeWidgetItem& parent, const ProgramGroup& group)
{
    for (const ProgramNode& node : group.items) {
        if (const auto* inner = std::get_if<ProgramGroup>(&node.content)) {
            QTreeWidgetItem* item = makeGroup(inner->count);
            parent.addChild(item);
            add(*item, *inner);
        } else {
            ProgramStep step = std::get<ProgramStep>(node.content);
            if (step.duration && step.maxDuration == *step.duration) {
                step.maxDuration = {};
            }
            parent.addChild(makeStep(step));
        }
    }
}

ProgramGroup ProgramTree::read(const QTreeWidgetItem& parent)
{
    ProgramGroup group;
    for (int i = 0; i < parent.childCount(); ++i) {
        const QTreeWidgetItem& item = *parent.child(i);
        if (isGroup(item)) {
            ProgramGroup inner = read(item);
            inner.count = count(item);
            group.items.push_back({std::move(inner)});
            continue;
        }
        ProgramStep step = ProgramTree::step(item);
        if (step.maxDuration.count() == 0 && step.duration) {
            step.maxDuration = *step.duration;
        }
        group.items.push_back({std::move(step)});
    }
    return group;
}

QTreeWidgetItem* ProgramTree::makeStep(const ProgramStep& step)
{
    auto* item = new QTreeWidgetItem;
    item->setData(kNumber, kStepRole, QVariant::fromValue(step));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    return item;
}

QTreeWidgetItem* ProgramTree::makeGroup(std::optional<int> count)
{
    auto* item = new QTreeWidgetItem;
    item->setData(kNumber, kCountRole, count.value_or(0));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    return item;
}

bool ProgramTree::isGroup(const QTreeWidgetItem& item)
{
    return item.data(kNumber, kCountRole).isValid();
}

ProgramStep ProgramTree::step(const QTreeWidgetItem& item)
{
    return item.data(kNumber, kStepRole).value<ProgramStep>();
}

std::optional<int> ProgramTree::count(const QTreeWidgetItem& item)
{
    const int count = item.data(kNumber, kCountRole).toInt();
    return count > 0 ? std::optional(count) : std::nullopt;
}

bool ProgramTree::editedInDialog(const QTreeWidgetItem& item, int column)
{
    if (isGroup(item)) {
        return false;
    }
    const std::optional<ProgramStep::Ramp> ramp = step(item).ramp;
    const bool rampedSetpoint = ramp && column == (ramp->quantity == Quantity::Voltage ? kVoltage : kCurrent);
    return column == kDuration || column == kEnds || rampedSetpoint;
}

void ProgramTree::renumber(QTreeWidget& tree)
{
    renumber(*tree.invisibleRootItem(), 1);
}

int ProgramTree::renumber(QTreeWidgetItem& parent, int next)
{
    for (int i = 0; i < parent.childCount(); ++i) {
        QTreeWidgetItem& item = *parent.child(i);
        if (isGroup(item)) {
            showGroup(item);
            next = renumber(item, next);
        } else {
            showStep(item, next++);
        }
    }
    return next;
}

void ProgramTree::showStep(QTreeWidgetItem& item, int number)
{
    const ProgramStep step = ProgramTree::step(item);
    const auto ramped = [&step](Quantity quantity) { return step.ramp && step.ramp->quantity == quantity; };
    const QString ramp = step.ramp ? StepTexts::ramp(*step.ramp) : QString();
    item.setText(kNumber, QString::number(number));
    item.setText(kName, QString::fromStdString(step.name));
    item.setText(kVoltage, ramped(Quantity::Voltage) ? ramp : StepTexts::volts(step.volts));
    item.setText(kCurrent, ramped(Quantity::Current) ? ramp : StepTexts::amperes(step.amperes));
    item.setText(kOutput, StepTexts::output(step.output));
    item.setText(kDuration, StepTexts::duration(step.duration) + (step.ramp ? tr(", плавно") : QString()));
    item.setText(kEnds, step.ends.empty() ? QStringLiteral("—") : StepTexts::conditions(step.ends));
    item.setText(kMaximum, step.maxDuration.count() > 0 ? StepTexts::duration(step.maxDuration) : QStringLiteral("—"));
    item.setToolTip(kEnds, item.text(kEnds));
    item.setToolTip(kDuration, tr("Двойной щелчок, F2 или правая кнопка: длительность и плавное изменение"));
    for (const int column : {kVoltage, kCurrent, kOutput, kDuration, kMaximum}) {
        item.setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void ProgramTree::showGroup(QTreeWidgetItem& item)
{
    const std::optional<int> count = ProgramTree::count(item);
    item.setText(kNumber,
        count ? tr("Группа: повторить %1").arg(StepTexts::times(*count)) : tr("Группа: повторять до остановки"));
    QFont font = item.font(kNumber);
    font.setBold(true);
    item.setFont(kNumber, font);
    item.setFirstColumnSpanned(true);
}

QTreeWidgetItem* ProgramTree::stepItem(QTreeWidget& tree, int number)
{
    const QString text = QString::number(number);
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
        if (!isGroup(**it) && (*it)->text(kNumber) == text) {
            return *it;
        }
    }
    return nullptr;
}
