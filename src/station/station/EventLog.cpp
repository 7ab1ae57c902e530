#include "station/EventLog.h"

#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"
#include "remote/ScpiServer.h"
#include "station/SupplyStation.h"
#include "supply/Conversions.h"

#include <QTime>

#include <ostream>
#include <utility>

namespace {

// At the supply's resolution: a setpoint as the supply holds it.
QString volts(double value)
{
    return QStringLiteral("%1 V").arg(QString::fromStdString(Conversions::stepText(value)));
}

QString amperes(double value)
{
    return QStringLiteral("%1 A").arg(QString::fromStdString(Conversions::stepText(value)));
}

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

EventLog::EventLog(std::ostream& out, Style style, QObject* parent)
    : QObject(parent)
    , out_(out)
    , style_(style)
{
}

EventLog::Style EventLog::styleOfThisProcess()
{
    return qEnvironmentVariableIsSet("JOURNAL_STREAM") ? Style::Journal : Style::Terminal;
}

QString EventLog::originText(const CommandOrigin& origin)
{
    switch (origin.kind) {
    case CommandOrigin::Kind::User:
        return tr("by the user");
    case CommandOrigin::Kind::Timer:
        return tr("by the timer");
    case CommandOrigin::Kind::Remote:
        return tr("by remote client %1").arg(origin.client);
    case CommandOrigin::Kind::Program:
        return tr("by the program");
    case CommandOrigin::Kind::Protection:
        return tr("by the protection");
    }
    return {};
}

void EventLog::follow(SupplyStation& station)
{
    Told& told = told_.emplace_back();
    followLink(station, told);
    followCommands(station, told);
    followPrograms(station);
    followReadings(station);
}

void EventLog::followLink(SupplyStation& station, Told& told)
{
    SupplyController& controller = station.controller();
    connect(&controller, &SupplyController::controlsLive, this, [this, &station, &told] {
        told.up = true;
        // What was on its way went with the link: a run resumed now switches anew.
        told.outputHeading = station.controller().outputHeading();
        info(QString::fromStdString(station.portName()), tr("link up"));
    });
    connect(&controller, &SupplyController::linkLost, this, [this, &station, &told] {
        if (std::exchange(told.up, false)) {
            warn(QString::fromStdString(station.portName()), tr("link lost"));
        }
    });
    connect(&controller, &SupplyController::supplyIdentified, this,
        [this, &station](const QString& supply, const QString& model) {
            const ModelProfile& profile = station.controller().profile();
            info(QString::fromStdString(station.portName()),
                tr("identified %1 %2 (%3, %4)")
                    .arg(supply, model, volts(profile.voltageMax), amperes(profile.currentMax)));
        });
    connect(&station.settings(), &StationSettings::settingsProblem, this,
        [this, &station](const QString& /*inWindow*/, const QString& advice) {
            warn(QString::fromStdString(station.portName()), advice);
        });
}

void EventLog::followCommands(SupplyStation& station, Told& told)
{
    SupplyController& controller = station.controller();
    connect(&controller, &SupplyController::commanded, this,
        [this, &station, &told](const CommandOrigin& origin) { tellCommand(station, told, origin); });
    // Setpoints taken up or learned from the supply were nobody's command: they are noted, not told.
    connect(&controller, &SupplyController::measured, this, [&station, &told] {
        const OutwardState state = station.outlook().now();
        told.volts = state.voltageSetpoint;
        told.amperes = state.currentSetpoint;
        told.outputHeading = station.controller().outputHeading();
    });
    connect(&controller, &SupplyController::outputTogglePending, this, [&told] { told.toggleQueued = true; });
    // A switch dropped on its way leaves the output as last reported.
    connect(&controller, &SupplyController::panelSwitchReported, this,
        [&told, &controller] { told.outputHeading = controller.outputHeading(); });
    connect(&controller, &SupplyController::outputChanged, this, [this, &station, &told](bool on) {
        told.outputHeading = on;
        info(QString::fromStdString(station.portName()), tr("the supply reports its output %1").arg(onOff(on)));
    });
    connect(&controller, &SupplyController::refused, this,
        [this, &station](const CommandOrigin& origin, CommandRefusal refusal, bool) {
            warn(QString::fromStdString(station.portName()), refusalText(refusal).arg(originText(origin)));
        });
    connect(&station.protection(), &ProtectionWatch::trippedOn, this, [this, &station](const ProtectionTrip& trip) {
        warn(QString::fromStdString(station.portName()),
            tr("protection tripped, output switched off: %1").arg(ProtectionWatch::description(trip).inEnglish()));
    });
}

QString EventLog::refusalText(CommandRefusal refusal)
{
    switch (refusal) {
    case CommandRefusal::TripLatched:
        return tr("output on %1 refused: a protection trip is latched");
    case CommandRefusal::PanelSwitch:
        return tr("command %1 refused: the supply's On/Off switch is on");
    case CommandRefusal::NoSupply:
        break;
    }
    return tr("command %1 refused: no supply identified");
}

// A ramp sends a setpoint at each poll: the program's own are told by its steps.
void EventLog::tellCommand(SupplyStation& station, Told& told, const CommandOrigin& origin)
{
    const SupplyController& controller = station.controller();
    const QString source = QString::fromStdString(station.portName());
    const QString by = originText(origin);
    const bool quiet = origin.kind == CommandOrigin::Kind::Program;
    const OutwardState state = station.outlook().now();
    if (const auto now = state.voltageSetpoint; now != told.volts) {
        told.volts = now;
        if (now && !quiet) {
            info(source, tr("voltage set to %1 %2").arg(volts(*now), by));
        }
    }
    if (const auto now = state.currentSetpoint; now != told.amperes) {
        told.amperes = now;
        if (now && !quiet) {
            info(source, tr("current limit set to %1 %2").arg(amperes(*now), by));
        }
    }
    const bool toggled = std::exchange(told.toggleQueued, false);
    if (const bool heading = controller.outputHeading(); heading != told.outputHeading || toggled) {
        told.outputHeading = heading;
        info(source, tr("output switched %1 %2").arg(onOff(heading), by));
    }
}

void EventLog::followPrograms(SupplyStation& station)
{
    connect(&station.programs(), &ProgramEngine::stateChanged, this,
        [this, &station](ProgramEngine::State state, const Phrase& why) {
            const QString source = QString::fromStdString(station.portName());
            switch (state) {
            case ProgramEngine::State::Running:
                info(source, tr("program running"));
                break;
            case ProgramEngine::State::Paused:
                warn(source, tr("program paused: %1").arg(why.inEnglish()));
                break;
            case ProgramEngine::State::Idle:
                info(source, tr("program ended: %1").arg(why.inEnglish()));
                break;
            }
        });
    connect(&station.programs(), &ProgramEngine::stepStarted, this, [this, &station](int number) {
        info(QString::fromStdString(station.portName()), tr("program step %1").arg(number));
    });
}

void EventLog::followReadings(SupplyStation& station)
{
    ReadingsModel& readings = station.readings();
    connect(&readings, &ReadingsModel::recordingChanged, this, [this, &station](bool recording) {
        const QString path = station.readings().recorder().path();
        info(QString::fromStdString(station.portName()),
            recording ? tr("recording to %1").arg(path) : tr("recording to %1 closed").arg(path));
    });
    connect(&readings, &ReadingsModel::recordingFailed, this,
        [this, &station](const QString& /*inWindow*/, const QString& message) {
            warn(QString::fromStdString(station.portName()), tr("recording failed: %1").arg(message));
        });
}

void EventLog::followRemote(const ScpiServer& server)
{
    connect(&server, &ScpiServer::clientCountChanged, this, [this](int clients) {
        info(tr("remote"), clients == 1 ? tr("1 client connected") : tr("%1 clients connected").arg(clients));
    });
}

void EventLog::write(bool warning, const QString& source, const QString& text)
{
    if (style_ == Style::Journal) {
        // The journal's priorities: warning and informational.
        out_ << (warning ? "<4>" : "<6>");
    } else {
        out_ << QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString() << ' ';
    }
    // One event, one line, whatever the texts hold.
    QString line = source + QStringLiteral(": ") + text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out_ << line.toStdString() << std::endl;
}
