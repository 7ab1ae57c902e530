#include "app/HeadlessRun.h"

#include "app/PortPlan.h"
#include "app/ServiceStart.h"
#include "app/SignalWatch.h"
#include "settings/ControllerSettings.h"
#include "station/Bench.h"
#include "station/EventLog.h"
#include "station/ServiceNotifier.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <csignal>
#include <iostream>

namespace {

const char* const kProgram = "tendrel-controller";

// False when no supply has a port to poll.
bool listPorts(Bench& bench, EventLog& log)
{
    bool any = false;
    for (std::size_t i = 0; i < bench.size(); ++i) {
        SupplyStation& station = bench.station(i);
        if (station.settings().listPorts()) {
            any = true;
        } else {
            log.warn(QString::fromStdString(station.portName()), QObject::tr("no serial port to poll"));
        }
    }
    return any;
}

// True when at least one recording runs.
bool startRecordings(Bench& bench, const std::string& path)
{
    bool any = false;
    for (std::size_t i = 0; i < bench.size(); ++i) {
        SupplyStation& station = bench.station(i);
        const std::string own = PortPlan::recordingPath(path, station.settings().usePort(), i, bench.size());
        station.readings().recordFromCommandLine(QString::fromStdString(own), std::cerr);
        any = any || station.readings().isRecording();
    }
    return any;
}

QString signalName(int number)
{
    return number == SIGTERM ? QStringLiteral("SIGTERM")
        : number == SIGINT   ? QStringLiteral("SIGINT")
                             : QString::number(number);
}

// Every output switched off at once, then a bounded wait for the supplies to report it.
void switchOffEverywhere(Bench& bench)
{
    for (std::size_t i = 0; i < bench.size(); ++i) {
        bench.station(i).requestSwitchOff();
    }
    const QDeadlineTimer deadline(SupplyStation::stopWait());
    const auto anyOn = [&bench] {
        for (std::size_t i = 0; i < bench.size(); ++i) {
            if (bench.station(i).outputMayBeOn()) {
                return true;
            }
        }
        return false;
    };
    while (anyOn() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

void tellInterruptedPrograms(Bench& bench, EventLog& log)
{
    for (std::size_t i = 0; i < bench.size(); ++i) {
        const SupplyStation& station = bench.station(i);
        if (station.programs().active()) {
            log.warn(QString::fromStdString(station.portName()),
                QObject::tr("the running program ends with this process; the output is left as it is"));
        }
    }
}

void finish(Bench& bench, EventLog& log, bool switchOff)
{
    if (switchOff) {
        switchOffEverywhere(bench);
    } else {
        tellInterruptedPrograms(bench, log);
    }
    bench.shutDown();
    log.info(QString::fromLatin1(kProgram), QObject::tr("stopped"));
}

QString supplies(std::size_t count)
{
    return count == 1 ? QObject::tr("1 supply") : QObject::tr("%1 supplies").arg(count);
}

// systemd's status line: how many supplies are live.
void tellServiceStatus(Bench& bench, ServiceNotifier& notifier)
{
    const auto tell = [&bench, &notifier] {
        int live = 0;
        for (std::size_t i = 0; i < bench.size(); ++i) {
            live += bench.station(i).controller().live() ? 1 : 0;
        }
        notifier.status(QObject::tr("%1 of %2 connected").arg(live).arg(supplies(bench.size())));
    };
    for (std::size_t i = 0; i < bench.size(); ++i) {
        SupplyController& controller = bench.station(i).controller();
        QObject::connect(&controller, &SupplyController::controlsLive, &notifier, tell);
        QObject::connect(&controller, &SupplyController::linkLost, &notifier, tell);
    }
    tell();
}

std::unique_ptr<MqttBridge> startServices(
    Bench& bench, const CommandLine::Parsed& options, const ControllerSettings::Loaded& settings, EventLog& log)
{
    const auto remoteTried = [&bench, &log] {
        if (bench.remote() != nullptr) {
            log.followRemote(bench.remote()->server());
            log.info(
                QObject::tr("remote"), QObject::tr("listening on port %1").arg(bench.remote()->server().serverPort()));
        }
    };
    const auto metricsTried = [&bench, &log] {
        if (bench.metrics() != nullptr) {
            log.info(QObject::tr("metrics"), QObject::tr("serving on port %1").arg(bench.metrics()->port()));
        }
    };
    return ServiceStart::start(bench, options, settings, {std::cerr, std::cerr, std::cerr, remoteTried, metricsTried});
}

// The event loop, with systemd told how it stands, until SIGTERM or SIGINT.
void serveUntilSignalled(Bench& bench, EventLog& log)
{
    ServiceNotifier notifier;
    SignalWatch signalWatch({SIGTERM, SIGINT});
    QObject::connect(&signalWatch, &SignalWatch::received, &log, [&log, &notifier](int number) {
        notifier.stopping();
        log.info(QString::fromLatin1(kProgram), QObject::tr("stopping on %1").arg(signalName(number)));
        QCoreApplication::quit();
    });
    log.info(QString::fromLatin1(kProgram), QObject::tr("running with %1").arg(supplies(bench.size())));
    notifier.ready(supplies(bench.size()));
    tellServiceStatus(bench, notifier);
    QCoreApplication::exec();
}

} // namespace

int HeadlessRun::run(const CommandLine::Parsed& options, int argc, char** argv)
{
    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(kProgram));
    const ControllerSettings::Loaded settings = ControllerSettings().load();
    EventLog log(std::cerr, EventLog::styleOfThisProcess());
    Bench bench(PortPlan::resolve(options.ports, settings.supplyPorts));
    for (std::size_t i = 0; i < bench.size(); ++i) {
        log.follow(bench.station(i));
    }
    if (!listPorts(bench, log)) {
        std::cerr << kProgram << ": no serial port to poll.\n";
        return kNoPorts;
    }
    bench.start();
    const std::unique_ptr<MqttBridge> mqtt = startServices(bench, options, settings, log);
    const bool recording = !options.record.empty() && startRecordings(bench, options.record);
    const bool programLoaded = !options.program.empty()
        && bench.station(0).runProgramOnceLive(QString::fromStdString(options.program), std::cerr);
    if (bench.remote() == nullptr && bench.metrics() == nullptr && mqtt == nullptr && !recording && !programLoaded) {
        std::cerr << kProgram
                  << ": --headless has nothing to control or observe the supply with: give --scpi, --metrics, "
                     "--mqtt, --record or --program, or turn remote control on in the settings ([Remote] Enabled=1).\n";
        return kNothingToDo;
    }
    serveUntilSignalled(bench, log);
    finish(bench, log, options.switchOffAtExit.value_or(settings.outputAtExit == "off"));
    return 0;
}
