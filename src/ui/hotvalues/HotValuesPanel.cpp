#include "hotvalues/HotValuesPanel.h"

#include "controller/SupplyController.h"
#include "station/HotValueBook.h"
#include "timer/TimerRun.h"
#include "toolkit/DialogUnits.h"
#include "toolkit/WindowLook.h"

#include <QAction>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>

namespace {

QAction* addCommand(QMenu* menu, const QString& text, HotValuesPanel::Command command)
{
    QAction* action = menu->addAction(text);
    action->setData(static_cast<int>(command));
    return action;
}

} // namespace

HotValuesPanel::HotValuesPanel(QWidget* window)
    : QObject(window)
{
    auto* frame = new QGroupBox(tr("Быстрые значения"), window);
    frame->setAlignment(Qt::AlignHCenter);
    DialogUnits::place(frame, 0, 8, 66, 83, 124);
    frame->setObjectName(QStringLiteral("hotValuesFrame"));
    frame->lower();

    list_ = new QListWidget(window);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    WindowLook::paintList(list_);
    DialogUnits::place(list_, 1048, 14, 82, 70, 97);
    list_->setEnabled(false);

    menu_ = new QMenu(window);
    menu_->setObjectName(QStringLiteral("160"));
    setAsCurrent_ = addCommand(menu_, tr("Установить как текущее"), SetAsCurrent);
    menu_->addSeparator();
    addCommand(menu_, tr("Добавить значение"), AddValue);
    addCommand(menu_, tr("Добавить текущее"), AddCurrent);
    menu_->addSeparator();
    remove_ = addCommand(menu_, tr("Удалить"), Delete);
}

void HotValuesPanel::bind(SupplyController& supply, const HotValueBook& book, TimerRun& run)
{
    connect(&book, &HotValueBook::replaced, this, [this](const QStringList& rows) {
        clear();
        list_->addItems(rows);
    });
    connect(&book, &HotValueBook::added, this, &HotValuesPanel::addRow);
    connect(&book, &HotValueBook::removed, this, &HotValuesPanel::removeRow);
    connect(&book, &HotValueBook::selected, this, &HotValuesPanel::selectRow);
    connect(&supply, &SupplyController::linkLost, this, [this] { setEnabled(false); });
    connect(&supply, &SupplyController::controlsLive, this, [this] { setEnabled(true); });
    connect(&run, &TimerRun::runStarted, this, [this] { setEnabled(false); });
    connect(&run, &TimerRun::runEnded, this, [this] { setEnabled(true); });
}

void HotValuesPanel::setEnabled(bool enabled)
{
    list_->setEnabled(enabled);
}

bool HotValuesPanel::isEnabled() const
{
    return list_->isEnabled();
}

void HotValuesPanel::clear()
{
    list_->clear();
}

void HotValuesPanel::addRow(const QString& text)
{
    list_->addItem(text);
}

void HotValuesPanel::removeRow(int row)
{
    delete list_->takeItem(row);
}

std::optional<int> HotValuesPanel::selectedRow() const
{
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return list_->row(selected.front());
}

void HotValuesPanel::selectRow(int row)
{
    list_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void HotValuesPanel::clearSelection()
{
    list_->clearSelection();
}

bool HotValuesPanel::containsGlobal(const QPoint& point) const
{
    return QRect(list_->mapToGlobal(QPoint(0, 0)), list_->size()).contains(point);
}

std::optional<int> HotValuesPanel::selectRowAtGlobal(const QPoint& point)
{
    const QPoint inViewport = list_->viewport()->mapFromGlobal(point);
    std::optional<int> hit;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->visualItemRect(list_->item(row)).contains(inViewport)) {
            selectRow(row);
            hit = row;
        }
    }
    return hit;
}

QMenu* HotValuesPanel::prepareMenu(bool onRow, bool rowIsCurrent)
{
    setAsCurrent_->setEnabled(onRow && !rowIsCurrent);
    remove_->setEnabled(onRow);
    return menu_;
}

std::optional<HotValuesPanel::Command> HotValuesPanel::runMenu(
    const QPoint& point, const std::function<bool(int row)>& rowIsCurrent)
{
    if (!containsGlobal(point)) {
        return std::nullopt;
    }
    const auto row = selectRowAtGlobal(point);
    if (!row) {
        clearSelection();
    }
    return commandOf(prepareMenu(row.has_value(), row && rowIsCurrent(*row))->exec(point));
}

std::optional<HotValuesPanel::Command> HotValuesPanel::commandOf(const QAction* action)
{
    if (action == nullptr) {
        return std::nullopt;
    }
    return static_cast<Command>(action->data().toInt());
}
