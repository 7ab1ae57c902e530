#include "controller/DiagnosticLine.h"

#include <QCoreApplication>
#include <QDateTime>

QString diagnosticLine(const std::vector<std::int32_t>& values, bool identified)
{
    const QString linkText = identified ? QCoreApplication::translate("DiagnosticLine", "подключен")
                                        : QCoreApplication::translate("DiagnosticLine", "НЕ подкл.");
    QString line = QCoreApplication::translate("DiagnosticLine", "%1 - [%2] - принятые данные от блока: ")
                       .arg(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss")), linkText);
    for (const std::int32_t value : values) {
        line += QString::number(value) + QLatin1Char(' ');
    }
    return line;
}
