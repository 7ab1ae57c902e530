#include "programs/EndConditionsDialog.h"

#include "programs/StepTexts.h"
#include "programs/UnitEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using Kind = EndCondition::Kind;

enum Column { kKind, kValue, kStops, kRemove, kColumns };

constexpr Kind kKinds[]
    = {Kind::CurrentAtMost, Kind::CurrentAtLeast, Kind::VoltageAtMost, Kind::VoltageAtLeast, Kind::Charge, Kind::Energy,
        Kind::BecomesCv, Kind::BecomesCc, Kind::VoltageDrop, Kind::VoltageFlat, Kind::TimeOfDay};

UnitEdit::Kind editKind(Kind kind)
{
    return kind == Kind::TimeOfDay ? UnitEdit::Kind::TimeOfDay : UnitEdit::Kind::Number;
}

void fitValueEdit(UnitEdit& edit, Kind kind)
{
    edit.setKind(editKind(kind), kind == Kind::TimeOfDay ? QString() : StepTexts::unit(kind));
    edit.setPlaceholderText(kind == Kind::TimeOfDay ? EndConditionsDialog::tr("чч:мм") : QString());
    edit.setEnabled(StepTexts::hasValue(kind));
}

} // namespace

EndConditionsDialog::EndConditionsDialog(const std::vector<EndCondition>& conditions, QWidget* parent)
    : QDialog(parent)
    , table_(new QTableWidget(0, kColumns, this))
{
    setWindowTitle(tr("Окончание шага по условию"));
    table_->setHorizontalHeaderLabels({tr("Условие"), tr("Значение"), tr("Стоп"), QString()});
    table_->horizontalHeaderItem(kStops)->setToolTip(tr("Условие останавливает всю программу, а не только шаг"));
    table_->horizontalHeader()->setSectionResizeMode(kKind, QHeaderView::Stretch);
    table_->setColumnWidth(kStops, 60);
    table_->horizontalHeader()->setSectionResizeMode(kRemove, QHeaderView::Fixed);
    table_->setColumnWidth(kValue, 140);
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    for (const EndCondition& condition : conditions) {
        addRow(condition);
    }
    auto* hint = new QLabel(tr("Шаг кончается, как только выполнится первое из условий при включённом выходе, "
                               "но не позже своей наибольшей длительности. Условие со «стоп» останавливает "
                               "программу и выключает выход."),
        this);
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(createButtons());
    layout->addWidget(hint);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 320);
}

QLayout* EndConditionsDialog::createButtons()
{
    auto* row = new QHBoxLayout;
    auto* add = new QPushButton(tr("Добавить условие"), this);
    add->setObjectName(QStringLiteral("addCondition"));
    connect(add, &QPushButton::clicked, this, [this] { addRow({}); });
    row->addWidget(add);
    row->addStretch(1);
    return row;
}

void EndConditionsDialog::removeRowOf(const QWidget* button)
{
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->cellWidget(row, kRemove) == button) {
            table_->removeRow(row);
            return;
        }
    }
}

void EndConditionsDialog::addRow(const EndCondition& condition)
{
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto* kind = new QComboBox(table_);
    for (const Kind each : kKinds) {
        kind->addItem(StepTexts::kindName(each), static_cast<int>(each));
    }
    kind->setCurrentIndex(kind->findData(static_cast<int>(condition.kind)));
    auto* value = new UnitEdit(editKind(condition.kind), {}, table_);
    fitValueEdit(*value, condition.kind);
    if (StepTexts::hasValue(condition.kind)) {
        value->setValue(condition.value);
    }
    connect(kind, &QComboBox::currentIndexChanged, value,
        [kind, value] { fitValueEdit(*value, static_cast<Kind>(kind->currentData().toInt())); });
    // Centred under its heading.
    auto* stopsCell = new QWidget(table_);
    auto* stops = new QCheckBox(stopsCell);
    stops->setChecked(condition.stops);
    auto* stopsLayout = new QHBoxLayout(stopsCell);
    stopsLayout->setContentsMargins(0, 0, 0, 0);
    stopsLayout->addWidget(stops, 0, Qt::AlignCenter);
    auto* remove = new QToolButton(table_);
    remove->setText(tr("Удалить"));
    connect(remove, &QToolButton::clicked, this, [this, remove] { removeRowOf(remove); });
    table_->setCellWidget(row, kKind, kind);
    table_->setCellWidget(row, kValue, value);
    table_->setCellWidget(row, kStops, stopsCell);
    table_->setCellWidget(row, kRemove, remove);
    // Sized to contents, the column would not count a cell's widget; the grid takes a pixel of the cell.
    table_->setColumnWidth(kRemove, remove->sizeHint().width() + (table_->showGrid() ? 1 : 0));
}

std::vector<EndCondition> EndConditionsDialog::conditions() const
{
    std::vector<EndCondition> conditions;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const auto* kind = qobject_cast<QComboBox*>(table_->cellWidget(row, kKind));
        const auto* value = qobject_cast<UnitEdit*>(table_->cellWidget(row, kValue));
        const bool stops = table_->cellWidget(row, kStops)->findChild<QCheckBox*>()->isChecked();
        const auto chosen = static_cast<Kind>(kind->currentData().toInt());
        if (!StepTexts::hasValue(chosen)) {
            conditions.push_back({chosen, 0.0, stops});
        } else if (const std::optional<double> typed = value->value()) {
            conditions.push_back({chosen, *typed, stops});
        }
    }
    return conditions;
}
