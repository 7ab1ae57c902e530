#include "readings/RunSummaryFile.h"

#include "settings/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString RunSummaryFile::pathBeside(const QString& recording, const RunSummary& summary)
{
    const QFileInfo file(recording);
    return file.dir().filePath(
        QStringLiteral("%1.run-%2.json")
            .arg(file.completeBaseName(), summary.started.toString(QStringLiteral("yyyyMMdd-HHmmss"))));
}

QByteArray RunSummaryFile::json(const RunSummary& summary)
{
    QJsonArray steps;
    for (std::size_t i = 0; i < summary.stepTimes.size(); ++i) {
        steps.append(QJsonObject{{QStringLiteral("step"), static_cast<int>(i + 1)},
            {QStringLiteral("time_s"), static_cast<double>(summary.stepTimes[i].count()) / 1000.0}});
    }
    const QJsonObject root{{QStringLiteral("started"), summary.started.toString(Qt::ISODateWithMs)},
        {QStringLiteral("ended"), summary.ended.toString(Qt::ISODateWithMs)},
        {QStringLiteral("end_reason"), summary.endReason},
        {QStringLiteral("duration_s"), static_cast<double>(summary.started.msecsTo(summary.ended)) / 1000.0},
        {QStringLiteral("charge_Ah"), summary.ampereHours}, {QStringLiteral("energy_Wh"), summary.wattHours},
        {QStringLiteral("steps"), steps}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString RunSummaryFile::write(const QString& path, const RunSummary& summary)
{
    if (AtomicFile::replace(QFile::encodeName(path).toStdString(), json(summary).toStdString())) {
        return {};
    }
    return QCoreApplication::translate("RunSummaryFile", "не удалось записать сводку выполнения в файл «%1»").arg(path);
}
