#include "programs/UnitEdit.h"

#include "programs/StepTexts.h"

#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

QRegularExpression patternOf(UnitEdit::Kind kind)
{
    switch (kind) {
    case UnitEdit::Kind::Number:
        return QRegularExpression(QStringLiteral("\\s*\\d*([.,]\\d*)?\\s*"));
    case UnitEdit::Kind::Duration:
        return QRegularExpression(QStringLiteral("\\s*[\\d:]*([.,]\\d*)?\\s*с?\\s*"));
    case UnitEdit::Kind::TimeOfDay:
        break;
    }
    return QRegularExpression(QStringLiteral("\\s*[\\d:]*\\s*"));
}

constexpr int kUnitGap = 6;
const QColor kUnreadableColor(0xb0, 0x00, 0x00);

} // namespace

UnitEdit::UnitEdit(Kind kind, QString unit, QWidget* parent)
    : QLineEdit(parent)
    , kind_(kind)
    , unit_(std::move(unit))
{
    setValidator(new QRegularExpressionValidator(patternOf(kind), this));
    connect(this, &QLineEdit::textChanged, this, &UnitEdit::updateHints);
    updateHints();
}

void UnitEdit::setKind(Kind kind, const QString& unit)
{
    kind_ = kind;
    unit_ = unit;
    setValidator(new QRegularExpressionValidator(patternOf(kind), this));
    updateHints();
}

void UnitEdit::setRange(double minimum, std::optional<double> maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    updateHints();
}

void UnitEdit::setRange(const ModelProfile& profile, Quantity quantity)
{
    const bool voltage = quantity == Quantity::Voltage;
    const double maximum = voltage ? profile.voltageMax : profile.currentMax;
    if (maximum > 0.0) {
        setRange(voltage ? profile.voltageMin : profile.currentMin, maximum);
    } else {
        setRange(0.0, std::nullopt);
    }
}

void UnitEdit::setValue(std::optional<double> value)
{
    if (!value) {
        clear();
        return;
    }
    switch (kind_) {
    case Kind::Number:
        setText(StepTexts::number(*value));
        break;
    case Kind::Duration:
        setText(StepTexts::seconds(*value).remove(QRegularExpression(QStringLiteral("\\s*с$"))));
        break;
    case Kind::TimeOfDay:
        setText(StepTexts::value(EndCondition::Kind::TimeOfDay, *value));
        break;
    }
}

std::optional<double> UnitEdit::parsed() const
{
    switch (kind_) {
    case Kind::Number:
        return StepTexts::parseNumber(text());
    case Kind::Duration:
        return StepTexts::parseSeconds(text());
    case Kind::TimeOfDay:
        break;
    }
    return StepTexts::parseTimeOfDay(text());
}

std::optional<double> UnitEdit::value() const
{
    const std::optional<double> value = parsed();
    if (!value) {
        return std::nullopt;
    }
    return maximum_ ? std::clamp(*value, minimum_, *maximum_) : std::max(*value, minimum_);
}

void UnitEdit::setDuration(std::optional<std::chrono::milliseconds> duration)
{
    setValue(duration ? std::optional(static_cast<double>(duration->count()) / 1000.0) : std::nullopt);
}

std::optional<std::chrono::milliseconds> UnitEdit::duration() const
{
    const std::optional<double> seconds = value();
    return seconds ? std::optional(std::chrono::milliseconds(std::llround(*seconds * 1000.0))) : std::nullopt;
}

bool UnitEdit::readable() const
{
    return text().trimmed().isEmpty() || parsed().has_value();
}

// A duration typed as h:mm:ss carries its own unit.
QString UnitEdit::shownUnit() const
{
    return kind_ == Kind::Duration && text().contains(u':') ? QString() : unit_;
}

void UnitEdit::updateHints()
{
    setTextMargins(0, 0, fontMetrics().horizontalAdvance(shownUnit()) + kUnitGap, 0);
    if (maximum_ && kind_ == Kind::Number) {
        setToolTip(tr("От %1 до %2 %3").arg(StepTexts::number(minimum_), StepTexts::number(*maximum_), unit_));
    }
}

void UnitEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    const QString unit = shownUnit();
    if (unit.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setPen(readable() ? palette().color(QPalette::PlaceholderText) : kUnreadableColor);
    const QRect area = contentsRect().adjusted(0, 0, -kUnitGap / 2, 0);
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, unit);
}
