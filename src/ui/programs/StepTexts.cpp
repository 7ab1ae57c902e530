#include "programs/StepTexts.h"

#include "program/ChemistryPractice.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace {

constexpr double kSecondsPerDay = 86400.0;

// Up to three decimals, without the zeros after them; "12.0" keeps one.
QString decimals(double value, bool keepOne)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(u'0') && !(keepOne && text.endsWith(QStringLiteral(".0")))) {
        text.chop(1);
    }
    if (text.endsWith(u'.')) {
        text.chop(1);
    }
    return text;
}

QString twoDigits(long long value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The fraction of a second, as ".5", or nothing.
QString fractionOf(double seconds)
{
    const QString text = QString::number(seconds - std::floor(seconds), 'f', 3);
    QString fraction = text.mid(1);
    while (fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    return fraction == QStringLiteral(".") ? QString() : fraction;
}

std::optional<double> parseClock(const QString& text, bool hoursFirst)
{
    const QStringList parts = text.trimmed().remove(QStringLiteral("с")).trimmed().split(u':');
    if (parts.size() > 3) {
        return std::nullopt;
    }
    double seconds = 0.0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::optional<double> part = StepTexts::parseNumber(parts[i]);
        const bool last = i == parts.size() - 1;
        if (!part || (!last && *part != std::floor(*part)) || (i > 0 && *part >= 60.0)) {
            return std::nullopt;
        }
        seconds = seconds * 60.0 + *part;
    }
    // After midnight the hours come first: "7" is seven o'clock, "7:30" half past.
    if (hoursFirst) {
        seconds *= parts.size() == 1 ? 3600.0 : parts.size() == 2 ? 60.0 : 1.0;
    }
    return seconds;
}

} // namespace

QString StepTexts::number(double value)
{
    return decimals(value, true);
}

QString StepTexts::volts(std::optional<double> volts)
{
    return volts ? tr("%1 В").arg(number(*volts)) : QStringLiteral("—");
}

QString StepTexts::amperes(std::optional<double> amperes)
{
    return amperes ? tr("%1 А").arg(number(*amperes)) : QStringLiteral("—");
}

QString StepTexts::output(std::optional<bool> on)
{
    if (!on) {
        return QStringLiteral("—");
    }
    return *on ? tr("вкл.") : tr("выкл.");
}

QString StepTexts::seconds(double seconds)
{
    if (seconds < 60.0) {
        return tr("%1 с").arg(decimals(seconds, false));
    }
    const auto whole = static_cast<long long>(std::floor(seconds));
    return QStringLiteral("%1:%2:%3%4")
        .arg(whole / 3600)
        .arg(twoDigits(whole / 60 % 60), twoDigits(whole % 60), fractionOf(seconds));
}

QString StepTexts::duration(std::optional<std::chrono::milliseconds> duration)
{
    return duration ? seconds(static_cast<double>(duration->count()) / 1000.0) : QStringLiteral("—");
}

QString StepTexts::clock(double seconds)
{
    const auto whole = static_cast<long long>(std::max(seconds, 0.0));
    return QStringLiteral("%1:%2:%3").arg(twoDigits(whole / 3600), twoDigits(whole / 60 % 60), twoDigits(whole % 60));
}

QString StepTexts::ramp(const ProgramStep::Ramp& ramp)
{
    const bool voltage = ramp.quantity == Quantity::Voltage;
    return (voltage ? tr("%1 → %2 В") : tr("%1 → %2 А")).arg(number(ramp.from), number(ramp.to));
}

QString StepTexts::times(int count)
{
    const int lastTwo = count % 100;
    const int last = count % 10;
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) {
        return tr("%1 раза").arg(count);
    }
    return tr("%1 раз").arg(count);
}

QString StepTexts::kindName(EndCondition::Kind kind)
{
    using Kind = EndCondition::Kind;
    switch (kind) {
    case Kind::CurrentAtMost:
        return tr("ток не выше");
    case Kind::CurrentAtLeast:
        return tr("ток не ниже");
    case Kind::VoltageAtMost:
        return tr("напряжение не выше");
    case Kind::VoltageAtLeast:
        return tr("напряжение не ниже");
    case Kind::Charge:
        return tr("заряд");
    case Kind::Energy:
        return tr("энергия");
    case Kind::BecomesCv:
        return tr("режим CV");
    case Kind::BecomesCc:
        return tr("режим CC");
    case Kind::VoltageDrop:
        return tr("падение напряжения −ΔV");
    case Kind::VoltageFlat:
        return tr("напряжение не растёт");
    case Kind::TimeOfDay:
        return tr("время суток");
    }
    return {};
}

QString StepTexts::unit(EndCondition::Kind kind)
{
    using Kind = EndCondition::Kind;
    switch (kind) {
    case Kind::CurrentAtMost:
    case Kind::CurrentAtLeast:
        return tr("А");
    case Kind::VoltageAtMost:
    case Kind::VoltageAtLeast:
    case Kind::VoltageDrop:
        return tr("В");
    case Kind::Charge:
        return tr("А·ч");
    case Kind::Energy:
        return tr("Вт·ч");
    case Kind::TimeOfDay:
        return tr("чч:мм");
    case Kind::VoltageFlat:
        return tr("с");
    case Kind::BecomesCv:
    case Kind::BecomesCc:
        break;
    }
    return {};
}

QString StepTexts::value(EndCondition::Kind kind, double value)
{
    if (kind == EndCondition::Kind::TimeOfDay) {
        return clock(std::fmod(std::max(value, 0.0), kSecondsPerDay)).left(5);
    }
    // Kept together where a line wraps.
    return QStringLiteral("%1\u00a0%2").arg(number(value), unit(kind));
}

QString StepTexts::condition(const EndCondition& condition)
{
    QString text = hasValue(condition.kind)
        ? QStringLiteral("%1 %2").arg(kindName(condition.kind), value(condition.kind, condition.value))
        : kindName(condition.kind);
    return condition.stops ? tr("%1 → стоп").arg(text) : text;
}

QString StepTexts::conditions(const std::vector<EndCondition>& conditions)
{
    QStringList texts;
    for (const EndCondition& condition : conditions) {
        texts << StepTexts::condition(condition);
    }
    return texts.join(tr(" или "));
}

QString StepTexts::limits(const ProtectionLimits& limits)
{
    using Limit = ProtectionLimits::Limit;
    const std::pair<Limit, const char*> kinds[] = {{Limit::Voltage, QT_TR_NOOP("напряжение ≤ %1 В")},
        {Limit::Current, QT_TR_NOOP("ток ≤ %1 А")}, {Limit::Power, QT_TR_NOOP("мощность ≤ %1 Вт")},
        {Limit::Charge, QT_TR_NOOP("заряд ≤ %1 А·ч")}, {Limit::Energy, QT_TR_NOOP("энергия ≤ %1 Вт·ч")}};
    QStringList texts;
    for (const auto& [quantity, text] : kinds) {
        if (const std::optional<double> limit = limits.of(quantity)) {
            texts << tr(text).arg(number(*limit));
        }
    }
    if (limits.time) {
        texts << tr("время ≤ %1").arg(seconds(static_cast<double>(limits.time->count())));
    }
    return texts.join(QStringLiteral(", "));
}

QString StepTexts::battery(const ProgramBattery& battery)
{
    const std::optional<Chemistry> chemistry = ChemistryPractice::byKey(battery.chemistry);
    const QString name = chemistry
        ? QCoreApplication::translate("ChemistryPractice", ChemistryPractice::of(*chemistry).name)
        : QString::fromStdString(battery.chemistry);
    return tr("%1, %2 эл., %3 А·ч").arg(name).arg(battery.cells).arg(number(battery.capacityAh));
}

std::optional<double> StepTexts::parseNumber(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(QString(text.trimmed()).replace(u',', u'.'), &ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

std::optional<double> StepTexts::parseSeconds(const QString& text)
{
    return parseClock(text, false);
}

std::optional<double> StepTexts::parseTimeOfDay(const QString& text)
{
    const std::optional<double> seconds = parseClock(text, true);
    return seconds && *seconds < kSecondsPerDay ? seconds : std::nullopt;
}
