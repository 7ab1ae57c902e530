#include "programs/ChargeForm.h"

#include "program/ChargeProfile.h"
#include "programs/StepTexts.h"
#include "programs/UnitEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <cmath>

namespace {

using Family = ChemistryPractice::Family;
using Minutes = ChargeParameters::Minutes;

// Float is held a little either side of the chemistry's usual value.
constexpr double kFloatBand = 0.05;
constexpr int kLongestMinutes = 7 * 24 * 60;

QSpinBox* spin(QWidget* parent, const char* name, int minimum, int maximum, const QString& suffix)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, maximum);
    box->setSuffix(suffix);
    return box;
}

// Per cell, with a decimal point as everywhere in the program.
QDoubleSpinBox* voltsSpin(QWidget* parent, const char* name)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setLocale(QLocale::c());
    box->setDecimals(3);
    box->setSingleStep(0.01);
    box->setSuffix(ChargeForm::tr(" В/эл."));
    return box;
}

UnitEdit* unitEdit(QWidget* parent, const char* name, const QString& unit)
{
    auto* edit = new UnitEdit(UnitEdit::Kind::Number, unit, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumWidth(110);
    return edit;
}

int minutesOf(Minutes minutes)
{
    return static_cast<int>(minutes.count());
}

} // namespace

ChargeForm::ChargeForm(QWidget* parent)
    : QWidget(parent)
    , form_(new QFormLayout(this))
    , chemistry_(new QComboBox(this))
    , cells_(spin(this, "chargeCells", 1, ChargeProfile::kMaxCells, tr(" эл.")))
    , capacity_(unitEdit(this, "chargeCapacity", tr("А·ч")))
    , current_(unitEdit(this, "chargeCurrent", {}))
    , rate_(new QComboBox(this))
    , otherCurrent_(new QLabel(this))
    , voltsPerCell_(voltsSpin(this, "chargeVoltsPerCell"))
    , voltsRange_(new QLabel(this))
    , taper_(spin(this, "chargeTaper", 5, 50, {}))
    , taperAmperes_(new QLabel(this))
    , absorption_(spin(this, "chargeAbsorption", 10, 24 * 60, tr(" мин")))
    , floats_(new QCheckBox(tr("поддержание"), this))
    , floatVolts_(voltsSpin(this, "chargeFloatVolts"))
    , floatTime_(spin(this, "chargeFloatTime", 10, kLongestMinutes, tr(" мин")))
    , delta_(spin(this, "chargeDelta", 5, 10, tr(" мВ/эл.")))
    , holdOff_(spin(this, "chargeHoldOff", 0, 60, tr(" мин")))
    , flat_(new QCheckBox(tr("не дольше"), this))
    , plateau_(spin(this, "chargePlateau", 1, 120, tr(" мин")))
{
    chemistry_->setObjectName(QStringLiteral("chargeChemistry"));
    for (const ChemistryPractice& practice : ChemistryPractice::all()) {
        chemistry_->addItem(
            QCoreApplication::translate("ChemistryPractice", practice.name), static_cast<int>(practice.chemistry));
    }
    rate_->setObjectName(QStringLiteral("chargeRate"));
    rate_->addItems({tr("А"), tr("C")});
    rate_->setToolTip(tr("Ток в амперах или в долях ёмкости (C)"));
    taper_->setPrefix(QStringLiteral("C/"));
    form_->setContentsMargins(0, 0, 0, 0);
    addBatteryRows(*form_);
    addEndRows(*form_);
    showDefaults();
    connectFields();
}

void ChargeForm::connectFields()
{
    connect(chemistry_, &QComboBox::currentIndexChanged, this, &ChargeForm::chooseChemistry);
    connect(rate_, &QComboBox::currentIndexChanged, this, &ChargeForm::switchRate);
    for (UnitEdit* edit : {capacity_, current_}) {
        connect(edit, &QLineEdit::textChanged, this, &ChargeForm::edited);
    }
    for (QDoubleSpinBox* box : {voltsPerCell_, floatVolts_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &ChargeForm::edited);
    }
    for (QSpinBox* box : {cells_, taper_, absorption_, floatTime_, delta_, holdOff_, plateau_}) {
        connect(box, &QSpinBox::valueChanged, this, &ChargeForm::edited);
    }
    for (QCheckBox* box : {floats_, flat_}) {
        connect(box, &QCheckBox::toggled, this, &ChargeForm::edited);
    }
}

QWidget* ChargeForm::row(std::initializer_list<QWidget*> widgets)
{
    auto* holder = new QWidget(this);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : widgets) {
        layout->addWidget(widget);
    }
    layout->addStretch(1);
    return holder;
}

void ChargeForm::addBatteryRows(QFormLayout& form)
{
    form.addRow(tr("Химия:"), chemistry_);
    form.addRow(tr("Элементов последовательно:"), row({cells_}));
    form.addRow(tr("Ёмкость:"), capacity_);
    form.addRow(tr("Ток заряда:"), row({current_, rate_, otherCurrent_}));
    form.addRow(tr("Напряжение заряда:"), row({voltsPerCell_, voltsRange_}));
}

void ChargeForm::addEndRows(QFormLayout& form)
{
    taperRow_ = row({taper_, taperAmperes_});
    taperRow_->setToolTip(tr("Постоянное напряжение кончается, когда ток упадёт до этой доли ёмкости"));
    form.addRow(tr("Окончание по току:"), taperRow_);
    addLeadRows(form);
    addNickelRows(form);
}

void ChargeForm::addLeadRows(QFormLayout& form)
{
    leadRows_[0] = row({absorption_});
    leadRows_[1] = row({floats_, floatVolts_, new QLabel(tr("в течение"), this), floatTime_});
    form.addRow(tr("Насыщение не дольше:"), leadRows_[0]);
    form.addRow(tr("После заряда:"), leadRows_[1]);
}

void ChargeForm::addNickelRows(QFormLayout& form)
{
    nickelRows_[0] = row({delta_});
    nickelRows_[1] = row({holdOff_});
    nickelRows_[2] = row({flat_, plateau_});
    nickelRows_[2]->setToolTip(tr("Заряд кончается, если напряжение столько времени не растёт"));
    form.addRow(tr("Окончание по −ΔV:"), nickelRows_[0]);
    form.addRow(tr("Без −ΔV первые:"), nickelRows_[1]);
    form.addRow(tr("Плоская вершина:"), nickelRows_[2]);
}

ChargeParameters ChargeForm::parameters() const
{
    ChargeParameters parameters = ChargeParameters::defaults(chemistry());
    parameters.cells = cells_->value();
    parameters.capacityAh = capacity_->value().value_or(0.0);
    parameters.amperes = amperes();
    parameters.voltsPerCell = voltsPerCell_->value();
    parameters.taperRate = 1.0 / taper_->value();
    parameters.absorptionMax = Minutes(absorption_->value());
    parameters.floatTime = floats_->isChecked() ? std::optional(Minutes(floatTime_->value())) : std::nullopt;
    parameters.floatVoltsPerCell = floatVolts_->value();
    parameters.deltaVoltsPerCell = delta_->value() / 1000.0;
    parameters.holdOff = Minutes(holdOff_->value());
    parameters.plateau = flat_->isChecked() ? std::optional(Minutes(plateau_->value())) : std::nullopt;
    return parameters;
}

void ChargeForm::setParameters(const ChargeParameters& parameters)
{
    const ChemistryPractice& practice = ChemistryPractice::of(parameters.chemistry);
    loading_ = true;
    chemistry_->setCurrentIndex(chemistry_->findData(static_cast<int>(parameters.chemistry)));
    cells_->setValue(parameters.cells);
    capacity_->setValue(parameters.capacityAh);
    current_->setValue(
        byRate() && parameters.capacityAh > 0.0 ? parameters.amperes / parameters.capacityAh : parameters.amperes);
    voltsPerCell_->setRange(practice.minChargeVolts, practice.maxChargeVolts);
    voltsPerCell_->setValue(parameters.voltsPerCell);
    voltsRange_->setText(
        tr("от %1 до %2 В/эл.")
            .arg(StepTexts::number(practice.minChargeVolts), StepTexts::number(practice.maxChargeVolts)));
    taper_->setValue(static_cast<int>(std::lround(1.0 / parameters.taperRate)));
    absorption_->setValue(minutesOf(parameters.absorptionMax));
    floats_->setChecked(parameters.floatTime.has_value());
    floatVolts_->setRange(practice.floatVolts - kFloatBand, practice.floatVolts + kFloatBand);
    floatVolts_->setValue(parameters.floatVoltsPerCell);
    floatTime_->setValue(minutesOf(parameters.floatTime.value_or(Minutes{720})));
    delta_->setValue(static_cast<int>(std::lround(parameters.deltaVoltsPerCell * 1000.0)));
    holdOff_->setValue(minutesOf(parameters.holdOff));
    flat_->setChecked(parameters.plateau.has_value());
    plateau_->setValue(minutesOf(parameters.plateau.value_or(Minutes{15})));
    showFamily(practice.family);
    loading_ = false;
    edited();
}

void ChargeForm::setModel(const ModelProfile& model)
{
    model_ = model;
    if (defaults_) {
        showDefaults();
    }
}

void ChargeForm::chooseChemistry()
{
    if (!loading_) {
        showDefaults();
    }
}

void ChargeForm::showDefaults()
{
    setParameters(ChargeProfile::suited(chemistry(), model_));
    defaults_ = true;
}

// The same current, typed the other way.
void ChargeForm::switchRate()
{
    const double capacity = capacity_->value().value_or(0.0);
    const std::optional<double> typed = current_->value();
    if (typed && capacity > 0.0) {
        loading_ = true;
        current_->setValue(byRate() ? *typed / capacity : *typed * capacity);
        loading_ = false;
    }
    edited();
}

void ChargeForm::showFamily(Family family)
{
    form_->setRowVisible(taperRow_, family != Family::Nickel);
    for (QWidget* lead : leadRows_) {
        form_->setRowVisible(lead, family == Family::Lead);
    }
    for (QWidget* nickel : nickelRows_) {
        form_->setRowVisible(nickel, family == Family::Nickel);
    }
}

// The current the other way, and the taper in amperes.
void ChargeForm::showOthers()
{
    const double capacity = capacity_->value().value_or(0.0);
    const double amperes = this->amperes();
    const bool known = capacity > 0.0 && current_->value().has_value();
    otherCurrent_->setText(!known ? QString()
            : byRate()            ? tr("= %1 А").arg(StepTexts::number(amperes))
                                  : tr("= %1 C").arg(StepTexts::number(amperes / capacity)));
    taperAmperes_->setText(
        capacity > 0.0 ? tr("= %1 А").arg(StepTexts::number(capacity / taper_->value())) : QString());
    floatVolts_->setEnabled(floats_->isChecked());
    floatTime_->setEnabled(floats_->isChecked());
    plateau_->setEnabled(flat_->isChecked());
}

void ChargeForm::edited()
{
    if (loading_) {
        return;
    }
    defaults_ = false;
    showOthers();
    emit changed();
}

Chemistry ChargeForm::chemistry() const
{
    return static_cast<Chemistry>(chemistry_->currentData().toInt());
}

bool ChargeForm::byRate() const
{
    return rate_->currentIndex() == 1;
}

double ChargeForm::amperes() const
{
    const double typed = current_->value().value_or(0.0);
    return byRate() ? typed * capacity_->value().value_or(0.0) : typed;
}
