#include "readings/RunSummaryFile.h"

#include "program/ProgramKeys.h"
#include "settings/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

QString RunSummaryFile::pathBeside(const QString& recording, const RunSummary& summary)
{
    const QFileInfo file(recording);
    return file.dir().filePath(
        QStringLiteral("%1.run-%2.json")
            .arg(file.completeBaseName(), summary.started.toString(QStringLiteral("yyyyMMdd-HHmmss"))));
}

namespace {

QString key(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject conditionObject(const EndCondition& condition)
{
    const auto numbered = std::find_if(ProgramKeys::kNumberConditions.begin(), ProgramKeys::kNumberConditions.end(),
        [&](const ProgramKeys::ConditionKey& known) { return known.kind == condition.kind; });
    QJsonObject object;
    if (numbered != ProgramKeys::kNumberConditions.end()) {
        object.insert(key(numbered->key), condition.value);
    } else if (condition.kind == EndCondition::Kind::TimeOfDay) {
        object.insert(
            QStringLiteral("time_of_day"), QString::fromStdString(ProgramKeys::timeOfDayText(condition.value)));
    } else {
        object.insert(QStringLiteral("regulation"),
            condition.kind == EndCondition::Kind::BecomesCv ? QStringLiteral("CV") : QStringLiteral("CC"));
    }
    if (condition.stops) {
        object.insert(QStringLiteral("then"), QStringLiteral("stop"));
    }
    return object;
}

QString interruptionKey(StepEnding::Interruption by)
{
    switch (by) {
    case StepEnding::Interruption::Stop:
        return QStringLiteral("stop");
    case StepEnding::Interruption::Trip:
        return QStringLiteral("trip");
    case StepEnding::Interruption::LinkLost:
        return QStringLiteral("link_lost");
    case StepEnding::Interruption::Closed:
        break;
    }
    return QStringLiteral("closed");
}

// Its condition, its maximum duration, or what cut it short; neither: its duration.
QJsonObject howObject(const StepEnding& ending)
{
    QJsonObject object{{QStringLiteral("max_duration"), ending.atMaxDuration}};
    if (ending.condition) {
        object.insert(QStringLiteral("until"), conditionObject(*ending.condition));
    }
    if (ending.interruption) {
        object.insert(QStringLiteral("interrupted_by"), interruptionKey(*ending.interruption));
    }
    return object;
}

QJsonObject endingObject(const StepEnding& ending)
{
    QJsonObject object = howObject(ending);
    object.insert(QStringLiteral("step"), ending.step);
    return object;
}

QJsonArray stepsArray(const RunSummary& summary)
{
    QJsonArray steps;
    for (std::size_t i = 0; i < summary.stepTimes.size(); ++i) {
        QJsonObject step{{QStringLiteral("step"), static_cast<int>(i + 1)},
            {QStringLiteral("time_s"), static_cast<double>(summary.stepTimes[i].count()) / 1000.0}};
        if (i < summary.stepEndings.size() && summary.stepEndings[i]) {
            step.insert(QStringLiteral("end"), howObject(*summary.stepEndings[i]));
        }
        steps.append(step);
    }
    return steps;
}

QJsonObject tripObject(const ProtectionTrip& trip)
{
    const auto limit = std::find_if(ProgramKeys::kLimits.begin(), ProgramKeys::kLimits.end(),
        [&](const ProgramKeys::LimitKey& known) { return known.quantity == trip.quantity; });
    return {{QStringLiteral("limit"), key(limit->key)}, {QStringLiteral("value"), trip.value},
        {QStringLiteral("limit_value"), trip.limit}};
}

// The charge set against the capacity the battery is stated to have.
QJsonObject batteryObject(const ProgramBattery& battery, double ampereHours)
{
    QJsonObject object{{QStringLiteral("chemistry"), QString::fromStdString(battery.chemistry)},
        {QStringLiteral("cells"), battery.cells}, {QStringLiteral("capacity_Ah"), battery.capacityAh}};
    if (battery.capacityAh > 0.0) {
        object.insert(QStringLiteral("charge_percent_of_capacity"), 100.0 * ampereHours / battery.capacityAh);
    }
    return object;
}

// How the run ended and what the supply showed last, for a charge's report.
void addEnd(QJsonObject& root, const RunSummary& summary)
{
    root.insert(QStringLiteral("running_s"), static_cast<double>(summary.duration.count()) / 1000.0);
    root.insert(QStringLiteral("stopped_by_condition"), summary.stoppedByCondition);
    if (summary.lastEnding) {
        root.insert(QStringLiteral("last_step_end"), endingObject(*summary.lastEnding));
    }
    if (summary.trip) {
        root.insert(QStringLiteral("trip"), tripObject(*summary.trip));
    }
    if (summary.endVolts && summary.endAmperes) {
        root.insert(QStringLiteral("end_voltage_V"), *summary.endVolts);
        root.insert(QStringLiteral("end_current_A"), *summary.endAmperes);
    }
    if (summary.battery) {
        root.insert(QStringLiteral("battery"), batteryObject(*summary.battery, summary.ampereHours));
    }
}

// As the CSV writes its times: local, with the offset from UTC.
QString withOffset(const QDateTime& at)
{
    return at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

} // namespace

QByteArray RunSummaryFile::json(const RunSummary& summary)
{
    QJsonObject root{{QStringLiteral("started"), withOffset(summary.started)},
        {QStringLiteral("ended"), withOffset(summary.ended)}, {QStringLiteral("end"), runEndCode(summary.end)},
        {QStringLiteral("end_reason"), summary.endReason},
        {QStringLiteral("duration_s"), static_cast<double>(summary.started.msecsTo(summary.ended)) / 1000.0},
        {QStringLiteral("charge_Ah"), summary.ampereHours}, {QStringLiteral("energy_Wh"), summary.wattHours},
        {QStringLiteral("steps"), stepsArray(summary)}};
    addEnd(root, summary);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Phrase RunSummaryFile::write(const QString& path, const RunSummary& summary)
{
    if (AtomicFile::replace(QFile::encodeName(path).toStdString(), json(summary).toStdString())) {
        return {};
    }
    return Phrase::translate("RunSummaryFile", "не удалось записать сводку выполнения в файл «%1»").arg(path);
}
