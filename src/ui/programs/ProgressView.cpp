#include "programs/ProgressView.h"

#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"
#include "program/ProgramIndex.h"
#include "programs/StepTexts.h"

#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

using Kind = EndCondition::Kind;

constexpr double kSecondsPerDay = 86400.0;

double secondsOf(std::chrono::milliseconds duration)
{
    return static_cast<double>(duration.count()) / 1000.0;
}

// How far the condition is from holding, in its own terms.
QString nearness(const ProgramProgress::Condition& watched)
{
    const EndCondition& condition = watched.condition;
    const double present = *watched.present;
    switch (condition.kind) {
    case Kind::CurrentAtMost:
    case Kind::VoltageAtMost:
        return present > condition.value
            ? ProgressView::tr("ещё %1").arg(StepTexts::value(condition.kind, present - condition.value))
            : ProgressView::tr("выполнено");
    case Kind::CurrentAtLeast:
    case Kind::VoltageAtLeast:
        return present < condition.value
            ? ProgressView::tr("ещё %1").arg(StepTexts::value(condition.kind, condition.value - present))
            : ProgressView::tr("выполнено");
    case Kind::Charge:
    case Kind::Energy:
    case Kind::VoltageDrop:
    case Kind::VoltageFlat:
        return condition.value > 0.0 ? ProgressView::tr("%1\u00a0%").arg(std::round(100.0 * present / condition.value))
                                     : QString();
    case Kind::TimeOfDay:
        return ProgressView::tr("через %1")
            .arg(StepTexts::clock(std::fmod(condition.value - present + kSecondsPerDay, kSecondsPerDay)));
    case Kind::BecomesCv:
    case Kind::BecomesCc:
        break;
    }
    return {};
}

} // namespace

ProgressView::ProgressView(ProgramEngine& engine, QWidget* parent)
    : QWidget(parent)
    , engine_(engine)
    , step_(addLabel("progressStep"))
    , conditions_(addLabel("progressConditions"))
    , times_(addLabel("progressTimes"))
    , why_(addLabel("progressWhy"))
    , summary_(addLabel("runSummary"))
{
    QFont bold = step_->font();
    bold.setBold(true);
    step_->setFont(bold);
    why_->setStyleSheet(QStringLiteral("color: #b05000"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QLabel* label : {step_, conditions_, times_, why_, summary_}) {
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addStretch(1);
    connect(&engine_, &ProgramEngine::progressed, this, &ProgressView::showProgress);
    connect(&engine_, &ProgramEngine::stateChanged, this, &ProgressView::showProgress);
    connect(&engine_, &ProgramEngine::stepStarted, this, &ProgressView::showProgress);
    connect(&engine_, &ProgramEngine::finished, this, &ProgressView::showSummary);
    showProgress();
    summary_->hide();
    // A run still going has no summary to show yet.
    if (engine_.summary() && !engine_.active()) {
        showSummary(*engine_.summary());
    }
}

QLabel* ProgressView::addLabel(const char* name)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void ProgressView::showProgress()
{
    const ProgramProgress progress = engine_.progress();
    const bool active = engine_.active() && progress.step > 0;
    step_->setText(active ? stepText(progress) : tr("Программа не запущена"));
    conditions_->setText(active ? conditionsText(progress) : QString());
    conditions_->setVisible(!conditions_->text().isEmpty());
    times_->setText(active ? timesText(progress) : QString());
    times_->setVisible(active);
    const bool paused = engine_.state() == ProgramEngine::State::Paused;
    why_->setText(paused ? tr("Пауза: %1").arg(engine_.why()) : QString());
    why_->setVisible(paused);
}

QString ProgressView::stepText(const ProgramProgress& progress) const
{
    const ProgramIndex index(engine_.program());
    const QString name
        = progress.step <= index.size() ? QString::fromStdString(index.step(progress.step).name) : QString();
    const QString place = tr("Шаг %1 из %2").arg(progress.step).arg(progress.steps);
    return name.isEmpty() ? place : tr("%1: %2").arg(place, name);
}

QString ProgressView::conditionsText(const ProgramProgress& progress)
{
    QStringList lines;
    for (const ProgramProgress::Condition& watched : progress.conditions) {
        QString line = StepTexts::condition(watched.condition);
        if (watched.present && watched.condition.kind != Kind::TimeOfDay
            && StepTexts::hasValue(watched.condition.kind)) {
            line += tr(": сейчас %1").arg(StepTexts::value(watched.condition.kind, *watched.present));
        }
        const QString near = watched.present ? nearness(watched) : QString();
        lines << (near.isEmpty() ? line : tr("%1, %2").arg(line, near));
    }
    return lines.isEmpty() ? QString() : tr("Кончится по условию:\n%1").arg(lines.join(u'\n'));
}

QString ProgressView::timesText(const ProgramProgress& progress)
{
    const QString remaining
        = progress.remaining ? StepTexts::clock(secondsOf(*progress.remaining)) : tr("неизвестно (шаги по условию)");
    return tr("В шаге: %1 (осталось не больше %2)\nС начала: %3\nДо конца программы: %4")
        .arg(StepTexts::clock(secondsOf(progress.inStep)), StepTexts::clock(secondsOf(progress.stepLeft)),
            StepTexts::clock(secondsOf(progress.elapsed)), remaining);
}

void ProgressView::showSummary(const RunSummary& summary)
{
    const QString when = tr("Последний запуск (%1–%2)")
                             .arg(summary.started.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")),
                                 summary.ended.toString(QStringLiteral("hh:mm:ss")));
    if (summary.battery) {
        summary_->setText(tr("%1: заряд аккумулятора\n%2").arg(when, reportText(summary)));
    } else {
        summary_->setText(
            tr("%1: %2\nЗаряд %3 А·ч, энергия %4 Вт·ч, длительность %5")
                .arg(when, summary.endReason, QString::number(summary.ampereHours, 'f', 3),
                    QString::number(summary.wattHours, 'f', 3), StepTexts::clock(secondsOf(summary.duration))));
    }
    summary_->show();
}

QString ProgressView::reportText(const RunSummary& summary) const
{
    const ProgramBattery& battery = *summary.battery;
    QString charge = tr("%1 А·ч").arg(StepTexts::number(summary.ampereHours));
    if (battery.capacityAh > 0.0) {
        charge = tr("%1 — %2\u00a0% от %3 А·ч")
                     .arg(charge)
                     .arg(std::lround(100.0 * summary.ampereHours / battery.capacityAh))
                     .arg(StepTexts::number(battery.capacityAh));
    }
    QStringList lines{tr("Аккумулятор: %1").arg(StepTexts::battery(battery)), tr("Окончание: %1").arg(endText(summary)),
        tr("Заряд: %1").arg(charge), tr("Энергия: %1 Вт·ч").arg(StepTexts::number(summary.wattHours)),
        tr("Длительность: %1").arg(StepTexts::clock(secondsOf(summary.duration)))};
    if (summary.endVolts && summary.endAmperes) {
        lines << tr("В конце: %1, %2").arg(StepTexts::volts(summary.endVolts), StepTexts::amperes(summary.endAmperes));
    }
    return lines.join(u'\n');
}

// A run that went to its end, or was stopped by a condition, ended as its last
// step did; one stopped otherwise says why. The summary tells the first only by its reason.
QString ProgressView::endText(const RunSummary& summary) const
{
    if (summary.trip) {
        return tr("предел программы: %1").arg(ProtectionWatch::describe(*summary.trip));
    }
    const bool byLastStep = summary.stoppedByCondition || summary.endReason == ProgramEngine::tr("выполнена");
    if (!byLastStep || !summary.lastEnding) {
        return summary.endReason;
    }
    const StepEnding& ending = *summary.lastEnding;
    const QString how = ending.condition ? StepTexts::condition(*ending.condition)
        : ending.atMaxDuration           ? tr("по наибольшей длительности")
                                         : tr("по длительности");
    return tr("%1: %2").arg(stepName(ending.step), how);
}

QString ProgressView::stepName(int number) const
{
    const ProgramIndex index(engine_.program());
    const QString name
        = number >= 1 && number <= index.size() ? QString::fromStdString(index.step(number).name) : QString();
    return name.isEmpty() ? tr("шаг %1").arg(number) : tr("шаг %1 «%2»").arg(number).arg(name);
}
