#include "programs/ProgramEditor.h"

#include "program/ProgramIndex.h"
#include "programs/EndConditionsDialog.h"
#include "programs/ProgramTree.h"
#include "programs/StepDelegate.h"
#include "programs/StepTexts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace std::chrono_literals;

namespace {

constexpr auto kEditTriggers
    = QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked;

ProgramStep newStep()
{
    ProgramStep step;
    step.output = true;
    step.duration = 60s;
    return step;
}

void expandAll(QTreeWidgetItem* item)
{
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i) {
        expandAll(item->child(i));
    }
}

// The last step before that sets or ramps the quantity, in file order.
std::optional<double> levelBefore(const ProgramIndex& index, int number, Quantity quantity)
{
    for (int before = number - 1; before >= 1; --before) {
        const ProgramStep& step = index.step(before);
        if (step.ramp && step.ramp->quantity == quantity) {
            return step.ramp->to;
        }
        const std::optional<double>& level = quantity == Quantity::Voltage ? step.volts : step.amperes;
        if (level) {
            return level;
        }
    }
    return std::nullopt;
}

void setColumns(QTreeWidget& tree)
{
    tree.setHeaderLabels(ProgramTree::headers());
    QHeaderView& header = *tree.header();
    header.setStretchLastSection(false);
    const std::pair<int, int> widths[] = {{ProgramTree::kNumber, 70}, {ProgramTree::kName, 170},
        {ProgramTree::kVoltage, 120}, {ProgramTree::kCurrent, 110}, {ProgramTree::kOutput, 80},
        {ProgramTree::kDuration, 130}, {ProgramTree::kEnds, 240}, {ProgramTree::kMaximum, 100}};
    for (const auto& [column, width] : widths) {
        header.resizeSection(column, width);
    }
    header.setSectionResizeMode(ProgramTree::kEnds, QHeaderView::Stretch);
    QTreeWidgetItem& heading = *tree.headerItem();
    heading.setToolTip(ProgramTree::kVoltage, ProgramEditor::tr("Уставка напряжения; «—» — не менять"));
    heading.setToolTip(ProgramTree::kCurrent, ProgramEditor::tr("Уставка тока; «—» — не менять"));
    heading.setToolTip(ProgramTree::kDuration,
        ProgramEditor::tr("Двойной щелчок, F2 или правая кнопка: длительность и плавное изменение"));
    heading.setToolTip(ProgramTree::kEnds,
        ProgramEditor::tr("Двойной щелчок, F2 или правая кнопка: условия, по которым шаг кончается"));
    heading.setToolTip(ProgramTree::kMaximum, ProgramEditor::tr("Шаг кончается не позже; «—» — как длительность"));
}

} // namespace

ProgramEditor::ProgramEditor(QWidget* parent)
    : QWidget(parent)
    , tree_(new StepTreeView(this))
    , delegate_(new StepDelegate(this))
    , limitsLine_(new QLabel(this))
    , batteryLine_(new QLabel(this))
{
    limitsLine_->setObjectName(QStringLiteral("programLimits"));
    batteryLine_->setObjectName(QStringLiteral("programBattery"));
    for (QLabel* line : {limitsLine_, batteryLine_}) {
        line->setWordWrap(true);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    tree_->setObjectName(QStringLiteral("steps"));
    tree_->setColumnCount(ProgramTree::kColumns);
    setColumns(*tree_);
    tree_->setItemDelegate(delegate_);
    tree_->setEditTriggers(kEditTriggers);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setAlternatingRowColors(true);
    tree_->setUniformRowHeights(true);
    connect(tree_->model(), &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
            if (roles.contains(ProgramTree::kStepRole) || roles.contains(ProgramTree::kCountRole)) {
                changed();
            }
        });
    connect(tree_, &QTreeWidget::itemActivated, this, &ProgramEditor::openDialog);
    connect(tree_, &StepTreeView::dialogWanted, this, &ProgramEditor::openDialog);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this, &ProgramEditor::showMenu);
    connect(tree_, &QTreeWidget::currentItemChanged, this, &ProgramEditor::updateButtons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_, 1);
    layout->addWidget(limitsLine_);
    layout->addWidget(batteryLine_);
    layout->addLayout(createButtons());
    updateButtons();
    showOwn();
}

QPushButton* ProgramEditor::addButton(
    QLayout* row, const QString& text, const char* name, void (ProgramEditor::*slot)())
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, slot);
    row->addWidget(button);
    return button;
}

QLayout* ProgramEditor::createButtons()
{
    auto* row = new QHBoxLayout;
    buttons_ = {addButton(row, tr("Добавить шаг"), "addStep", &ProgramEditor::addStep),
        addButton(row, tr("Добавить группу"), "addGroup", &ProgramEditor::addGroup)};
    selectionButtons_ = {addButton(row, tr("Копировать"), "duplicate", &ProgramEditor::duplicate),
        addButton(row, tr("Удалить"), "remove", &ProgramEditor::remove),
        addButton(row, tr("Вверх"), "moveUp", &ProgramEditor::moveUp),
        addButton(row, tr("Вниз"), "moveDown", &ProgramEditor::moveDown)};
    row->addStretch(1);
    row->addWidget(new QLabel(tr("Когда связь вернётся:"), this));
    linkReturn_ = new QComboBox(this);
    linkReturn_->setObjectName(QStringLiteral("linkReturn"));
    linkReturn_->addItems({tr("остановить программу"), tr("продолжить программу")});
    connect(linkReturn_, &QComboBox::activated, this, [this] { emit edited(); });
    row->addWidget(linkReturn_);
    return row;
}

Program ProgramEditor::program() const
{
    Program program;
    program.body = ProgramTree::read(*tree_->invisibleRootItem());
    program.onLinkReturn = linkReturn_->currentIndex() == 1 ? Program::LinkReturn::Resume : Program::LinkReturn::Stop;
    program.limits = limits_;
    program.battery = battery_;
    return program;
}

// A body repeated as a whole is shown as a group of its own, which runs the same.
void ProgramEditor::setProgram(const Program& program)
{
    Program shown = program;
    if (program.body.count != 1) {
        shown.body = ProgramGroup{1, {{program.body}}};
    }
    ProgramTree::fill(*tree_, shown);
    linkReturn_->setCurrentIndex(program.onLinkReturn == Program::LinkReturn::Resume ? 1 : 0);
    limits_ = program.limits;
    battery_ = program.battery;
    showOwn();
    changed();
}

void ProgramEditor::selectStep(int number)
{
    if (QTreeWidgetItem* item = ProgramTree::stepItem(*tree_, number)) {
        tree_->setCurrentItem(item);
        tree_->scrollToItem(item);
    }
}

void ProgramEditor::setRange(const ModelProfile& profile)
{
    profile_ = profile;
    delegate_->setRange(profile);
}

void ProgramEditor::setEditable(bool editable)
{
    editable_ = editable;
    tree_->setEditTriggers(editable ? kEditTriggers : QAbstractItemView::NoEditTriggers);
    updateButtons();
}

void ProgramEditor::addStep()
{
    insertNew(ProgramTree::makeStep(newStep()));
}

void ProgramEditor::addGroup()
{
    QTreeWidgetItem* group = ProgramTree::makeGroup(2);
    group->addChild(ProgramTree::makeStep(newStep()));
    insertNew(group);
}

// Into the chosen group, or after the chosen step.
void ProgramEditor::insertNew(QTreeWidgetItem* item)
{
    QTreeWidgetItem* current = tree_->currentItem();
    if (current != nullptr && ProgramTree::isGroup(*current)) {
        place(item, current, current->childCount());
    } else if (current != nullptr) {
        QTreeWidgetItem* parent = parentOf(current);
        place(item, parent, parent->indexOfChild(current) + 1);
    } else {
        place(item, tree_->invisibleRootItem(), tree_->topLevelItemCount());
    }
}

void ProgramEditor::duplicate()
{
    if (QTreeWidgetItem* current = tree_->currentItem()) {
        QTreeWidgetItem* parent = parentOf(current);
        place(current->clone(), parent, parent->indexOfChild(current) + 1);
    }
}

void ProgramEditor::remove()
{
    QTreeWidgetItem* current = tree_->currentItem();
    if (current == nullptr) {
        return;
    }
    QTreeWidgetItem* parent = parentOf(current);
    const int index = parent->indexOfChild(current);
    delete current;
    if (parent->childCount() > 0) {
        tree_->setCurrentItem(parent->child(std::min(index, parent->childCount() - 1)));
    } else if (parent != tree_->invisibleRootItem()) {
        tree_->setCurrentItem(parent);
    }
    changed();
}

// Into an open group above, or out of the group at its top.
void ProgramEditor::moveUp()
{
    QTreeWidgetItem* item = tree_->currentItem();
    QTreeWidgetItem* parent = item == nullptr ? nullptr : parentOf(item);
    const int index = parent == nullptr ? 0 : parent->indexOfChild(item);
    if (parent == nullptr || (index == 0 && parent == tree_->invisibleRootItem())) {
        return;
    }
    QTreeWidgetItem* above = index > 0 ? parent->child(index - 1) : nullptr;
    parent->takeChild(index);
    if (above != nullptr && ProgramTree::isGroup(*above) && above->isExpanded()) {
        place(item, above, above->childCount());
    } else if (above != nullptr) {
        place(item, parent, index - 1);
    } else {
        QTreeWidgetItem* outer = parentOf(parent);
        place(item, outer, outer->indexOfChild(parent));
    }
}

// Into an open group below, or out of the group at its bottom.
void ProgramEditor::moveDown()
{
    QTreeWidgetItem* item = tree_->currentItem();
    QTreeWidgetItem* parent = item == nullptr ? nullptr : parentOf(item);
    const int index = parent == nullptr ? 0 : parent->indexOfChild(item);
    const bool last = parent != nullptr && index == parent->childCount() - 1;
    if (parent == nullptr || (last && parent == tree_->invisibleRootItem())) {
        return;
    }
    QTreeWidgetItem* below = last ? nullptr : parent->child(index + 1);
    parent->takeChild(index);
    if (below != nullptr && ProgramTree::isGroup(*below) && below->isExpanded()) {
        place(item, below, 0);
    } else if (below != nullptr) {
        place(item, parent, index + 1);
    } else {
        QTreeWidgetItem* outer = parentOf(parent);
        place(item, outer, outer->indexOfChild(parent) + 1);
    }
}

void ProgramEditor::place(QTreeWidgetItem* item, QTreeWidgetItem* parent, int index)
{
    parent->insertChild(index, item);
    parent->setExpanded(true);
    expandAll(item);
    tree_->setCurrentItem(item);
    changed();
}

QTreeWidgetItem* ProgramEditor::parentOf(QTreeWidgetItem* item) const
{
    return item->parent() != nullptr ? item->parent() : tree_->invisibleRootItem();
}

void ProgramEditor::openDialog(QTreeWidgetItem* item, int column)
{
    if (!editable_ || !ProgramTree::editedInDialog(*item, column)) {
        return;
    }
    ProgramStep step = ProgramTree::step(*item);
    if (column == ProgramTree::kEnds) {
        EndConditionsDialog dialog(step.ends, this);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        step.ends = dialog.conditions();
    } else {
        DurationDialog dialog(step, profile_, before(item->text(ProgramTree::kNumber).toInt()), this);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        dialog.applyTo(step);
    }
    item->setData(ProgramTree::kNumber, ProgramTree::kStepRole, QVariant::fromValue(step));
}

// The step's dialogs, for a user who does not know to double-click.
void ProgramEditor::showMenu(const QPoint& at)
{
    QTreeWidgetItem* item = tree_->itemAt(at);
    if (item == nullptr || ProgramTree::isGroup(*item)) {
        return;
    }
    tree_->setCurrentItem(item);
    QMenu menu;
    QAction* duration = menu.addAction(tr("Длительность и плавное изменение…"));
    QAction* ends = menu.addAction(tr("Окончание по условию…"));
    for (QAction* action : {duration, ends}) {
        action->setEnabled(editable_);
    }
    QAction* chosen = menu.exec(tree_->viewport()->mapToGlobal(at));
    if (chosen != nullptr) {
        openDialog(item, chosen == duration ? ProgramTree::kDuration : ProgramTree::kEnds);
    }
}

DurationDialog::Before ProgramEditor::before(int number) const
{
    const Program program = this->program();
    const ProgramIndex index(program);
    return {levelBefore(index, number, Quantity::Voltage).value_or(held_.volts),
        levelBefore(index, number, Quantity::Current).value_or(held_.amperes)};
}

void ProgramEditor::changed()
{
    ProgramTree::renumber(*tree_);
    updateButtons();
    emit edited();
}

void ProgramEditor::updateButtons()
{
    const bool chosen = tree_->currentItem() != nullptr;
    for (QPushButton* button : buttons_) {
        button->setEnabled(editable_);
    }
    for (QPushButton* button : selectionButtons_) {
        button->setEnabled(editable_ && chosen);
    }
    if (linkReturn_ != nullptr) {
        linkReturn_->setEnabled(editable_);
    }
}

void ProgramEditor::showOwn()
{
    limitsLine_->setText(tr("Пределы программы: %1").arg(StepTexts::limits(limits_)));
    limitsLine_->setVisible(limits_.any());
    batteryLine_->setText(battery_ ? tr("Аккумулятор: %1").arg(StepTexts::battery(*battery_)) : QString());
    batteryLine_->setVisible(battery_.has_value());
}
