#include "InvariantRun.h"

#include "ActionRunner.h"
#include "InvariantRig.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

bool stopNow(const InvariantRun::Settings& settings, const ViolationBook& book)
{
    return settings.stopAt && book.seen(*settings.stopAt);
}

void keep(InvariantRun::Result& result, InvariantRig& rig, const ActionRunner& runner)
{
    result.violations = rig.book().first();
    result.counts = rig.book().counts();
    result.issued = runner.issued();
    result.skipped = runner.skipped();
    result.replies = rig.journal().replies();
    result.frameTail = rig.log().tail(40);
    for (const auto& line : rig.tap().recent(20)) {
        result.eventTail.push_back(RunClock::stamp(line.at) + "  " + line.text);
    }
}

} // namespace

InvariantRun::Result InvariantRun::run(const Settings& settings)
{
    Result result;
    RunClock::restart();
    InvariantRig rig({settings.modelCode, settings.timing, settings.mqtt, settings.checks});
    ActionRunner* runner = nullptr;
    result.started = rig.start(
        [&runner] {
            if (runner != nullptr) {
                runner->atReply();
            }
        },
        result.problem);
    if (!result.started) {
        return result;
    }
    result.mqtt = rig.mqttOn();
    ActionRunner actions(
        {rig.station(), rig.console(), rig.log(), rig.scpi(), rig.mqtt(), rig.checks(), rig.book()}, settings.actions);
    runner = &actions;
    const Moment begun = Clock::now();
    drive(settings, rig, actions);
    runner = nullptr;
    result.seconds = std::chrono::duration<double>(Clock::now() - begun).count();
    keep(result, rig, actions);
    return result;
}

// Until the time is up, or the last action has had time to show what it did.
void InvariantRun::drive(const Settings& settings, InvariantRig& rig, ActionRunner& actions)
{
    // Frames keep coming while no reply does (a supply that vanished): they are judged all the same.
    QTimer sweep;
    QObject::connect(&sweep, &QTimer::timeout, [&rig] { rig.checks().sweep(); });
    sweep.start(250);
    const Moment begun = Clock::now();
    actions.start();
    std::optional<Moment> lastOut;
    while (Clock::now() - begun < settings.limit && !stopNow(settings, rig.book())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (actions.done() && !lastOut) {
            // One more line reads what the last ones left in the error queue.
            lastOut = Clock::now();
            rig.scpi().send("*OPC?", settings.actions.size());
        }
        if (lastOut && Clock::now() - *lastOut > kAfterLast) {
            break;
        }
    }
}
