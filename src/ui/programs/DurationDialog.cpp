#include "programs/DurationDialog.h"

#include "programs/UnitEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <utility>

namespace {

} // namespace

DurationDialog::DurationDialog(const ProgramStep& step, ModelProfile profile, Before before, QWidget* parent)
    : QDialog(parent)
    , profile_(std::move(profile))
    , before_(step.ramp ? std::nullopt : std::optional(before))
    , duration_(new UnitEdit(UnitEdit::Kind::Duration, tr("с"), this))
    , ramped_(new QCheckBox(tr("Плавно изменять за это время"), this))
    , quantity_(new QComboBox(this))
    , from_(new UnitEdit(UnitEdit::Kind::Number, {}, this))
    , to_(new UnitEdit(UnitEdit::Kind::Number, {}, this))
{
    setWindowTitle(tr("Длительность шага"));
    duration_->setPlaceholderText(tr("нет: до условия"));
    duration_->setDuration(step.duration);
    quantity_->addItems({tr("напряжение"), tr("ток")});
    const ProgramStep::Ramp ramp = step.ramp.value_or(ProgramStep::Ramp{});
    ramped_->setChecked(step.ramp.has_value());
    quantity_->setCurrentIndex(ramp.quantity == Quantity::Voltage ? 0 : 1);
    from_->setValue(ramp.from);
    to_->setValue(ramp.to);
    chooseQuantity();

    auto* form = new QFormLayout;
    form->addRow(tr("Длительность:"), duration_);
    form->addRow(ramped_);
    form->addRow(tr("Что изменять:"), quantity_);
    form->addRow(tr("От:"), from_);
    form->addRow(tr("До:"), to_);
    auto* hint = new QLabel(tr("Секунды, м:сс или ч:мм:сс. Шаг без длительности кончается по условию "
                               "или по наибольшей длительности."),
        this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(quantity_, &QComboBox::currentIndexChanged, this, &DurationDialog::chooseQuantity);
    connect(ramped_, &QCheckBox::toggled, this, &DurationDialog::chooseQuantity);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void DurationDialog::chooseQuantity()
{
    const Quantity quantity = quantity_->currentIndex() == 0 ? Quantity::Voltage : Quantity::Current;
    const bool voltage = quantity == Quantity::Voltage;
    for (UnitEdit* edit : {from_, to_}) {
        edit->setKind(UnitEdit::Kind::Number, voltage ? tr("В") : tr("А"));
        edit->setRange(profile_, quantity);
        edit->setEnabled(ramped_->isChecked());
    }
    quantity_->setEnabled(ramped_->isChecked());
    if (before_) {
        from_->setValue(voltage ? before_->volts : before_->amperes);
    }
}

void DurationDialog::applyTo(ProgramStep& step) const
{
    step.duration = duration_->duration();
    if (!ramped_->isChecked()) {
        step.ramp.reset();
        return;
    }
    const Quantity quantity = quantity_->currentIndex() == 0 ? Quantity::Voltage : Quantity::Current;
    step.ramp = ProgramStep::Ramp{quantity, from_->value().value_or(0.0), to_->value().value_or(0.0)};
    (quantity == Quantity::Voltage ? step.volts : step.amperes).reset();
}
