#include "programs/ChargeResolutionView.h"

#include "program/ChemistryPractice.h"
#include "programs/StepTexts.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

using Family = ChemistryPractice::Family;

// Finer than the window's usual three decimals: a supply's step may be 0.0157 V.
QString fine(double value)
{
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(u'0')) {
        text.chop(1);
    }
    if (text.endsWith(u'.')) {
        text.chop(1);
    }
    return text;
}

QLabel* line(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

ChargeResolutionView::ChargeResolutionView(QWidget* parent)
    : QWidget(parent)
    , details_(line(this, "chargeResolution"))
    , refusal_(line(this, "chargeRefusal"))
{
    refusal_->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(details_);
    layout->addWidget(refusal_);
    layout->addStretch(1);
}

void ChargeResolutionView::showMade(
    const ChargeParameters& parameters, const ChargeProfile::Made& made, const ModelProfile& model)
{
    // A value out of its range is refused before the supply's steps are worked out.
    const bool resolved = made.resolution.voltStep > 0.0;
    QStringList lines = resolved ? heldLines(parameters, made.resolution, model) : QStringList();
    if (made.program) {
        lines << tr("Страховка (пределы программы): %1").arg(StepTexts::limits(made.program->limits));
    }
    details_->setText(lines.join(u'\n'));
    details_->setVisible(!lines.isEmpty());
    refusal_->setText(made.refusal.isEmpty() ? QString() : tr("Программу не составить: %1.").arg(made.refusal));
    refusal_->setVisible(!made.refusal.isEmpty());
}

void ChargeResolutionView::showUnknown()
{
    details_->hide();
    refusal_->setText(tr("Источник не опознан: его шаги напряжения и тока неизвестны, программу не составить. "
                         "Подключите источник."));
    refusal_->show();
}

QStringList ChargeResolutionView::heldLines(
    const ChargeParameters& parameters, const ChargeProfile::Resolution& held, const ModelProfile& model)
{
    const double asked = parameters.voltsPerCell * parameters.cells;
    return {tr("Шаг источника: %1 В по напряжению, %2 А по току").arg(fine(held.voltStep), fine(held.currentStep)),
        tr("Напряжение заряда: %1 В — ступень источника не выше %2 В").arg(fine(held.chargeVolts), fine(asked)),
        tr("Ток заряда: %1 А — ступень источника не выше %2 А").arg(fine(held.amperes), fine(parameters.amperes)),
        endLine(parameters, held), prechargeLine(parameters, held, model)};
}

QString ChargeResolutionView::endLine(const ChargeParameters& parameters, const ChargeProfile::Resolution& held)
{
    if (ChemistryPractice::of(parameters.chemistry).family == Family::Nickel) {
        return tr("−ΔV батареи: %1 В; источник различает от %2 В").arg(fine(held.dropVolts), fine(held.smallestDrop()));
    }
    return tr("Ток окончания: %1 А (C/%2); источник различает от %3 А")
        .arg(fine(held.taperAmperes))
        .arg(std::lround(1.0 / parameters.taperRate))
        .arg(fine(held.smallestTaper()));
}

QString ChargeResolutionView::prechargeLine(
    const ChargeParameters& parameters, const ChargeProfile::Resolution& held, const ModelProfile& model)
{
    if (held.prechargeAmperes) {
        return tr("Разряженный элемент: предзаряд током %1 А").arg(fine(*held.prechargeAmperes));
    }
    const double wanted = ChemistryPractice::of(parameters.chemistry).prechargeRate * parameters.capacityAh;
    return tr("Разряженный элемент: отказ — ток предзаряда %1 А меньше наименьшего тока источника (%2 А)")
        .arg(fine(wanted), fine(std::max(model.currentMin, held.currentStep)));
}
