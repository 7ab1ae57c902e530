#include "program/ChargeProfile.h"

#include "program/ChemistryPractice.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

using Kind = EndCondition::Kind;
using Family = ChemistryPractice::Family;
using Seconds = std::chrono::seconds;

// A pre-charge that has not brought the cell up within this time gives up.
constexpr double kPrechargeHours = 0.5;
// Time after the constant current a lithium charge may take to taper, and the margin on the whole.
constexpr double kTaperHours = 1.0;
constexpr double kTimeMargin = 1.5;
// Over-voltage limit above the charge voltage, per cell.
constexpr double kCeilingPerCell = 0.05;
constexpr double kCurrentMargin = 1.1;
// A step's own bound lies past the program's time limit, which ends it first.
constexpr Seconds kStepBoundPastLimit{60};
// The ends a user may choose: -dV per cell, and the taper as C/n.
constexpr double kLeastDrop = 0.005;
constexpr double kMostDrop = 0.010;
constexpr int kLeastTaperDivisor = 5;
constexpr int kMostTaperDivisor = 50;
// Suited defaults charge at C/2.
constexpr double kDefaultRate = 0.5;
// A value worked out to be just enough is not lost to rounding.
constexpr double kRoundingSlack = 1e-9;

QString tr(const char* text)
{
    return QCoreApplication::translate("ChargeProfile", text);
}

QString number(double value)
{
    return QString::number(value, 'g', 4);
}

// The supply's step at or below the value, never above what was asked for.
double stepBelow(double value, double step)
{
    return std::floor(value / step + 1e-9) * step;
}

double atLeast(double value)
{
    return std::ceil(value - kRoundingSlack);
}

EndCondition end(Kind kind, double value = 0.0, bool stops = false)
{
    return {kind, value, stops};
}

ProgramStep stage(const char* name, double volts, double amperes, std::vector<EndCondition> ends, Seconds bound)
{
    ProgramStep step;
    step.name = QCoreApplication::translate("ChargeProfile", name).toStdString();
    step.volts = volts;
    step.amperes = amperes;
    step.ends = std::move(ends);
    step.maxDuration = bound;
    return step;
}

} // namespace

ChargeProfile::Made ChargeProfile::make(const ChargeParameters& parameters, const ModelProfile& model)
{
    Made made;
    made.refusal = rangeRefusal(parameters);
    if (!made.refusal.isEmpty()) {
        return made;
    }
    made.resolution = resolve(parameters, model);
    made.refusal = refusal(parameters, model, made.resolution);
    if (made.refusal.isEmpty()) {
        made.program = program(parameters, made.resolution);
    }
    return made;
}

QString ChargeProfile::rangeRefusal(const ChargeParameters& parameters)
{
    const ChemistryPractice& practice = ChemistryPractice::of(parameters.chemistry);
    if (parameters.cells < 1 || parameters.cells > kMaxCells) {
        return tr("число элементов должно быть от 1 до %1").arg(kMaxCells);
    }
    if (!(parameters.capacityAh > 0.0 && parameters.capacityAh <= 10000.0)) {
        return tr("ёмкость должна быть больше нуля");
    }
    if (!(parameters.amperes > 0.0 && std::isfinite(parameters.amperes))) {
        return tr("ток заряда должен быть больше нуля");
    }
    if (!(parameters.voltsPerCell >= practice.minChargeVolts && parameters.voltsPerCell <= practice.maxChargeVolts)) {
        return tr("напряжение на элемент должно быть от %1 до %2 В")
            .arg(number(practice.minChargeVolts), number(practice.maxChargeVolts));
    }
    if (practice.family != Family::Nickel
        && !(parameters.taperRate >= 1.0 / kMostTaperDivisor && parameters.taperRate <= 1.0 / kLeastTaperDivisor)) {
        return tr("ток окончания должен быть от C/50 до C/5");
    }
    if (practice.family == Family::Nickel
        && !(parameters.deltaVoltsPerCell >= kLeastDrop && parameters.deltaVoltsPerCell <= kMostDrop)) {
        return tr("−ΔV должно быть от 5 до 10 мВ на элемент");
    }
    return {};
}

ChargeProfile::Resolution ChargeProfile::resolve(const ChargeParameters& parameters, const ModelProfile& model)
{
    const ChemistryPractice& practice = ChemistryPractice::of(parameters.chemistry);
    Resolution held;
    held.voltStep = model.voltageMax / 1000.0;
    held.currentStep = model.currentMax / 1000.0;
    held.chargeVolts = stepBelow(parameters.voltsPerCell * parameters.cells, held.voltStep);
    held.amperes = stepBelow(parameters.amperes, held.currentStep);
    const double precharge = stepBelow(practice.prechargeRate * parameters.capacityAh, held.currentStep);
    if (precharge >= model.currentMin && precharge >= held.currentStep) {
        held.prechargeAmperes = precharge;
    }
    held.taperAmperes = parameters.taperRate * parameters.capacityAh;
    held.dropVolts = parameters.deltaVoltsPerCell * parameters.cells;
    return held;
}

QString ChargeProfile::refusal(const ChargeParameters& parameters, const ModelProfile& model, const Resolution& held)
{
    const Family family = ChemistryPractice::of(parameters.chemistry).family;
    if (held.chargeVolts > model.voltageMax || held.chargeVolts < model.voltageMin) {
        return tr("напряжение заряда %1 В вне пределов источника (%2–%3 В)")
            .arg(
                number(parameters.voltsPerCell * parameters.cells), number(model.voltageMin), number(model.voltageMax));
    }
    if (parameters.amperes > model.currentMax || held.amperes < model.currentMin || held.amperes <= 0.0) {
        return tr("ток заряда %1 А вне пределов источника (%2–%3 А)")
            .arg(number(parameters.amperes), number(model.currentMin), number(model.currentMax));
    }
    if (family != Family::Nickel && held.taperAmperes < held.smallestTaper()) {
        return tr("ток окончания %1 А меньше двух шагов тока источника (%2 А): источник не различит его; %3")
            .arg(number(held.taperAmperes), number(held.smallestTaper()), taperHint(parameters, held));
    }
    if (family != Family::Nickel && held.taperAmperes >= held.amperes) {
        return tr("ток окончания %1 А не меньше тока заряда %2 А; подойдёт окончание от C/%3")
            .arg(number(held.taperAmperes), number(held.amperes))
            .arg(static_cast<int>(std::floor(parameters.capacityAh / held.amperes)) + 1);
    }
    if (family == Family::Nickel && held.dropVolts < held.smallestDrop()) {
        return tr("−ΔV батареи %1 В меньше двух шагов напряжения источника (%2 В): источник не различит его; %3")
            .arg(number(held.dropVolts), number(held.smallestDrop()), dropHint(parameters, held));
    }
    return {};
}

// The largest C/n the supply tells apart, or the capacity that C/5 needs.
QString ChargeProfile::taperHint(const ChargeParameters& parameters, const Resolution& held)
{
    const double divisor = std::floor(parameters.capacityAh / held.smallestTaper() + kRoundingSlack);
    if (divisor >= kLeastTaperDivisor) {
        return tr("подойдёт окончание до C/%1").arg(static_cast<int>(std::min<double>(divisor, kMostTaperDivisor)));
    }
    return tr("даже при C/5 нужна ёмкость от %1 А·ч").arg(number(held.smallestTaper() * kLeastTaperDivisor));
}

// The smallest -dV per cell, in the whole millivolts the form takes, or the cells the largest needs.
QString ChargeProfile::dropHint(const ChargeParameters& parameters, const Resolution& held)
{
    const double millivolts = atLeast(held.smallestDrop() / parameters.cells * 1000.0);
    if (millivolts <= kMostDrop * 1000.0) {
        return tr("подойдёт −ΔV от %1 мВ/эл.").arg(millivolts);
    }
    return tr("даже при 10 мВ/эл. нужно не меньше %1 эл.").arg(atLeast(held.smallestDrop() / kMostDrop));
}

ChargeParameters ChargeProfile::suited(Chemistry chemistry, const ModelProfile& model)
{
    ChargeParameters parameters = ChargeParameters::defaults(chemistry);
    if (model.voltageMax <= 0.0 || model.currentMax <= 0.0) {
        return parameters;
    }
    // Fewer cells where the usual pack would charge beyond the supply's voltage.
    const auto fitting = static_cast<int>(model.voltageMax / parameters.voltsPerCell);
    parameters.cells = std::clamp(fitting, 1, parameters.cells);
    if (ChemistryPractice::of(chemistry).family != Family::Nickel) {
        const double capacity = atLeast(kStepsToResolve * model.currentMax / 1000.0 / parameters.taperRate);
        if (capacity > parameters.capacityAh) {
            parameters.capacityAh = capacity;
            parameters.amperes = capacity * kDefaultRate;
        }
        return parameters;
    }
    const double smallestDrop = kStepsToResolve * model.voltageMax / 1000.0;
    const double perCell = atLeast(smallestDrop / parameters.cells * 1000.0) / 1000.0;
    parameters.deltaVoltsPerCell = std::min(std::max(perCell, parameters.deltaVoltsPerCell), kMostDrop);
    if (perCell > kMostDrop) {
        parameters.cells = static_cast<int>(atLeast(smallestDrop / kMostDrop));
    }
    return parameters;
}

Program ChargeProfile::program(const ChargeParameters& parameters, const Resolution& held)
{
    Program program;
    program.onLinkReturn = Program::LinkReturn::Stop;
    program.limits = limits(parameters, held);
    program.battery = ProgramBattery{
        std::string(ChemistryPractice::of(parameters.chemistry).key), parameters.cells, parameters.capacityAh};
    program.body.items.push_back({check(parameters, held)});
    addStages(parameters, held, program.body.items);
    return program;
}

ProtectionLimits ChargeProfile::limits(const ChargeParameters& parameters, const Resolution& held)
{
    const ChemistryPractice& practice = ChemistryPractice::of(parameters.chemistry);
    ProtectionLimits limits;
    limits.volts = held.chargeVolts + std::max(kCeilingPerCell * parameters.cells, 2 * held.voltStep);
    limits.amperes = held.amperes * kCurrentMargin + 2 * held.currentStep;
    limits.ampereHours = practice.maxChargeFactor * parameters.capacityAh;
    limits.time = timeLimit(parameters, held.prechargeAmperes.has_value());
    return limits;
}

std::chrono::seconds ChargeProfile::timeLimit(const ChargeParameters& parameters, bool precharges)
{
    const Family family = ChemistryPractice::of(parameters.chemistry).family;
    double hours = kTimeMargin * parameters.capacityAh / parameters.amperes + (precharges ? kPrechargeHours : 0.0);
    if (family == Family::Lithium) {
        hours += kTaperHours;
    } else if (family == Family::Lead) {
        hours += parameters.absorptionMax.count() / 60.0
            + (parameters.floatTime ? parameters.floatTime->count() / 60.0 : 0.0);
    }
    return Seconds(std::llround(hours * 3600.0));
}

// The first reading tells the cell's state: below the refusal voltage, at the
// charge voltage already (full, or nothing connected), or low enough to need
// the small current first. Without a settable small current a low cell is refused.
ProgramStep ChargeProfile::check(const ChargeParameters& parameters, const Resolution& held)
{
    const ChemistryPractice& practice = ChemistryPractice::of(parameters.chemistry);
    const Seconds bound = timeLimit(parameters, held.prechargeAmperes.has_value()) + kStepBoundPastLimit;
    const double low = practice.prechargeVolts * parameters.cells;
    std::vector<EndCondition> ends;
    if (held.prechargeAmperes) {
        ends = {end(Kind::VoltageAtMost, practice.refuseVolts * parameters.cells, true), end(Kind::BecomesCv, 0, true),
            end(Kind::VoltageAtLeast, low), end(Kind::Charge, *held.prechargeAmperes * kPrechargeHours, true)};
    } else {
        ends = {end(Kind::VoltageAtMost, low, true), end(Kind::BecomesCv, 0, true), end(Kind::VoltageAtLeast, low)};
    }
    ProgramStep step = stage(QT_TRANSLATE_NOOP("ChargeProfile", "Проверка и предзаряд"), held.chargeVolts,
        held.prechargeAmperes.value_or(held.amperes), std::move(ends), bound);
    step.output = true;
    return step;
}

void ChargeProfile::addStages(
    const ChargeParameters& parameters, const Resolution& held, std::vector<ProgramNode>& steps)
{
    const Family family = ChemistryPractice::of(parameters.chemistry).family;
    const Seconds bound = timeLimit(parameters, held.prechargeAmperes.has_value()) + kStepBoundPastLimit;
    const double volts = held.chargeVolts;
    if (family == Family::Lithium) {
        steps.push_back({stage(
            QT_TRANSLATE_NOOP("ChargeProfile", "Постоянный ток"), volts, held.amperes, {end(Kind::BecomesCv)}, bound)});
        steps.push_back({stage(QT_TRANSLATE_NOOP("ChargeProfile", "Постоянное напряжение"), volts, held.amperes,
            {end(Kind::CurrentAtMost, held.taperAmperes)}, bound)});
        return;
    }
    if (family == Family::Lead) {
        steps.push_back({stage(
            QT_TRANSLATE_NOOP("ChargeProfile", "Основной заряд"), volts, held.amperes, {end(Kind::BecomesCv)}, bound)});
        steps.push_back({stage(QT_TRANSLATE_NOOP("ChargeProfile", "Насыщение"), volts, held.amperes,
            {end(Kind::CurrentAtMost, held.taperAmperes)}, parameters.absorptionMax)});
        if (parameters.floatTime) {
            ProgramStep floating = stage(QT_TRANSLATE_NOOP("ChargeProfile", "Поддержание"),
                stepBelow(parameters.floatVoltsPerCell * parameters.cells, held.voltStep), held.amperes, {},
                *parameters.floatTime);
            floating.duration = *parameters.floatTime;
            steps.push_back({floating});
        }
        return;
    }
    ProgramStep holdOff = stage(QT_TRANSLATE_NOOP("ChargeProfile", "Выдержка без −ΔV"), volts, held.amperes,
        {end(Kind::BecomesCv, 0, true)}, parameters.holdOff);
    holdOff.duration = parameters.holdOff;
    steps.push_back({holdOff});
    std::vector<EndCondition> ends{end(Kind::VoltageDrop, held.dropVolts)};
    if (parameters.plateau) {
        ends.push_back(end(Kind::VoltageFlat, static_cast<double>(Seconds(*parameters.plateau).count())));
    }
    ends.push_back(end(Kind::BecomesCv, 0, true));
    steps.push_back({stage(QT_TRANSLATE_NOOP("ChargeProfile", "Заряд до −ΔV"), volts, held.amperes, ends, bound)});
}
