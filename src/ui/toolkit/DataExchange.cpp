#include "toolkit/DataExchange.h"

#include "toolkit/MessageBox.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QString>

#include <clocale>
#include <cstdlib>

const char* const DataExchange::kNumberPrompt = QT_TRANSLATE_NOOP("DataExchange", "Введите число.");
const char* const DataExchange::kBytePrompt = QT_TRANSLATE_NOOP("DataExchange", "Введите целое число от 0 до 255.");

namespace {

bool onlyBlanksFrom(const char* rest)
{
    while (*rest == ' ' || *rest == '\t') {
        ++rest;
    }
    return *rest == '\0';
}

} // namespace

std::optional<double> DataExchange::readDouble(const QString& text)
{
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
    const QByteArray bytes = text.toUtf8();
    char* end = nullptr;
    const double value = ::strtod_l(bytes.constData(), &end, cLocale);
    if (end == bytes.constData() || !onlyBlanksFrom(end)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint8_t> DataExchange::readByte(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

void DataExchange::refuse(QWidget* window, QLineEdit* field, const char* prompt)
{
    MessageBox::warn(window, QCoreApplication::translate("DataExchange", prompt));
    field->setFocus();
    field->selectAll();
}

bool DataExchange::readInto(QWidget* window, QLineEdit* field, std::uint8_t& member, bool prompt)
{
    const auto value = readByte(field->text());
    if (value) {
        member = *value;
    } else if (prompt) {
        refuse(window, field, kBytePrompt);
    }
    return value.has_value();
}

bool DataExchange::readInto(QWidget* window, QLineEdit* field, double& member, bool prompt)
{
    const auto value = readDouble(field->text());
    if (value) {
        member = *value;
    } else if (prompt) {
        refuse(window, field, kNumberPrompt);
    }
    return value.has_value();
}
