#include "programs/LimitsPanel.h"

#include "engine/ProtectionWatch.h"
#include "programs/StepTexts.h"
#include "programs/UnitEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Limit = ProtectionLimits::Limit;

constexpr std::array<Limit, LimitsPanel::kQuantities> kOrder
    = {Limit::Voltage, Limit::Current, Limit::Power, Limit::Charge, Limit::Energy, Limit::Time};

struct Row {
    const char* name;
    const char* unit;
};

constexpr std::array<Row, LimitsPanel::kQuantities> kRows
    = {{{QT_TRANSLATE_NOOP("LimitsPanel", "Напряжение"), "В"}, {QT_TRANSLATE_NOOP("LimitsPanel", "Ток"), "А"},
        {QT_TRANSLATE_NOOP("LimitsPanel", "Мощность"), "Вт"}, {QT_TRANSLATE_NOOP("LimitsPanel", "Заряд"), "А·ч"},
        {QT_TRANSLATE_NOOP("LimitsPanel", "Энергия"), "Вт·ч"}, {QT_TRANSLATE_NOOP("LimitsPanel", "Время"), "с"}}};

const QString kArmedLook = QStringLiteral("color: #17702a; font-weight: bold");
const QString kEditedLook = QStringLiteral("color: #9a5200; font-style: italic");
const QString kEditedField = QStringLiteral("background: #fff1cc");

} // namespace

LimitsPanel::LimitsPanel(ProtectionWatch& watch, QWidget* parent)
    : QWidget(parent)
    , watch_(watch)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(createRows());
    layout->addLayout(createTripRow());
    connect(&watch_, &ProtectionWatch::limitsChanged, this, &LimitsPanel::showLimits);
    connect(&watch_, &ProtectionWatch::trippedOn, this, &LimitsPanel::showTrip);
    connect(&watch_, &ProtectionWatch::cleared, this, &LimitsPanel::showTrip);
    showLimits();
    showTrip();
}

QLayout* LimitsPanel::createRows()
{
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        const bool time = kOrder[i] == Limit::Time;
        armed_[i] = new QCheckBox(tr(kRows[i].name), this);
        armed_[i]->setObjectName(QStringLiteral("arm%1").arg(i));
        values_[i] = new UnitEdit(time ? UnitEdit::Kind::Duration : UnitEdit::Kind::Number, tr(kRows[i].unit), this);
        values_[i]->setObjectName(QStringLiteral("limit%1").arg(i));
        states_[i] = new QLabel(this);
        states_[i]->setObjectName(QStringLiteral("limitState%1").arg(i));
        connect(values_[i], &QLineEdit::textEdited, armed_[i], [box = armed_[i]] { box->setChecked(true); });
        connect(values_[i], &QLineEdit::textChanged, this, &LimitsPanel::showStates);
        connect(armed_[i], &QCheckBox::toggled, this, &LimitsPanel::showStates);
        grid->addWidget(armed_[i], static_cast<int>(i), 0);
        grid->addWidget(values_[i], static_cast<int>(i), 1);
        grid->addWidget(states_[i], static_cast<int>(i), 2);
    }
    auto* apply = new QPushButton(tr("Применить"), this);
    apply->setObjectName(QStringLiteral("applyLimits"));
    connect(apply, &QPushButton::clicked, this, [this] { watch_.setLimits(entered()); });
    grid->addWidget(apply, static_cast<int>(kOrder.size()), 1);
    grid->setColumnStretch(1, 1);
    return grid;
}

QLayout* LimitsPanel::createTripRow()
{
    auto* row = new QHBoxLayout;
    trip_ = new QLabel(this);
    trip_->setObjectName(QStringLiteral("trip"));
    trip_->setWordWrap(true);
    trip_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    clear_ = new QPushButton(tr("Сбросить"), this);
    clear_->setObjectName(QStringLiteral("clearTrip"));
    connect(clear_, &QPushButton::clicked, &watch_, &ProtectionWatch::clear);
    row->addWidget(trip_, 1);
    row->addWidget(clear_);
    return row;
}

ProtectionLimits LimitsPanel::entered() const
{
    ProtectionLimits limits;
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        limits.set(kOrder[i], armed_[i]->isChecked() ? values_[i]->value() : std::nullopt);
    }
    return limits;
}

// The armed limits, as the watch holds them; an unarmed row keeps what was typed.
void LimitsPanel::showLimits()
{
    const ProtectionLimits& limits = watch_.limits();
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        const std::optional<double> value = limits.of(kOrder[i]);
        armed_[i]->setChecked(value.has_value());
        if (value) {
            values_[i]->setValue(value);
        }
        armedShown_[i] = value ? values_[i]->value() : std::nullopt;
    }
    showStates();
}

void LimitsPanel::showStates()
{
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        const bool ticked = armed_[i]->isChecked();
        const bool edited = ticked != armedShown_[i].has_value() || (ticked && values_[i]->value() != armedShown_[i]);
        QString text = armedShown_[i] ? tr("✓ взведён") : QString();
        if (edited) {
            text = armedShown_[i] ? tr("не применено,\nвзведён %1").arg(armedText(i)) : tr("не применено");
        }
        states_[i]->setText(text);
        states_[i]->setStyleSheet(edited ? kEditedLook : kArmedLook);
        values_[i]->setStyleSheet(edited ? kEditedField : QString());
    }
}

QString LimitsPanel::armedText(std::size_t row) const
{
    const double value = armedShown_[row].value_or(0.0);
    return kOrder[row] == Limit::Time ? StepTexts::seconds(value)
                                      : QStringLiteral("%1 %2").arg(StepTexts::number(value), tr(kRows[row].unit));
}

void LimitsPanel::showTrip()
{
    const std::optional<ProtectionTrip>& trip = watch_.trip();
    trip_->setVisible(trip.has_value());
    clear_->setVisible(trip.has_value());
    if (trip) {
        trip_->setText(tr("Сработала защита в %1. Выход выключен до сброса.").arg(ProtectionWatch::describe(*trip)));
    }
}
