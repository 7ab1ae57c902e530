#include "controller/DiagnosticLine.h"

#include <QDateTime>

QString diagnosticLine(const std::vector<std::int32_t>& values, bool identified)
{
    const char* linkText = identified ? "подключен" : "НЕ подкл.";
    QString line = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"))
        + QString::fromUtf8(" - [%1] - принятые данные от блока: ").arg(QString::fromUtf8(linkText));
    for (const std::int32_t value : values) {
        line += QString::number(value) + QLatin1Char(' ');
    }
    return line;
}
