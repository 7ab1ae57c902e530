#include "station/StationSettings.h"

#include "controller/SupplyController.h"
#include "link/SupplyLink.h"

StationSettings::StationSettings(SupplyLink& link, SupplyController& controller, QObject* parent)
    : QObject(parent)
    , link_(link)
    , controller_(controller)
{
    // Before anyone hears of the supply: its lists are read when it is named.
    connect(&controller_, &SupplyController::supplyIdentified, this, [this] { load(false); });
    connect(&controller_, &SupplyController::linkLost, this, [this] {
        if (controller_.identified()) {
            save();
        }
    });
    connect(
        &controller_, &SupplyController::statusAnswered, this, [this] { ports_.answeredOn(link_.currentPortName()); });
}

void StationSettings::start()
{
    tellProblem(settings_.prepare());
    load(true);
    controller_.start(ports_.names());
}

void StationSettings::shutDown()
{
    if (std::exchange(stopped_, true)) {
        return;
    }
    if (controller_.identified()) {
        save();
    }
}

void StationSettings::load(bool startup)
{
    const ControllerSettings::Loaded loaded = settings_.load(startup);
    controller_.setDiagnostics(loaded.diagnosticsOn);
    if (startup) {
        controller_.diagnose(QString::fromStdString(ports_.choose(loaded.usePort, loaded.lastPort)));
    }
    hotValues_.load(loaded.hotValues);
    tellProblem(loaded.problem);
}

// Saving hands the pairs over to the file: the lists are reloaded from it at
// the next identification. A save that failed keeps them.
void StationSettings::save()
{
    const auto [usePort, lastPort] = ports_.toSave();
    const SettingsFile::Problem problem
        = settings_.save({usePort, lastPort, hotValues_.voltages(), hotValues_.currents()});
    if (problem == SettingsFile::Problem::None) {
        hotValues_.handedOver();
    }
    tellProblem(problem);
}

void StationSettings::tellProblem(SettingsFile::Problem problem)
{
    if (const auto advice = settings_.adviceOnce(problem)) {
        emit settingsProblem(advice->inWindow(), advice->inEnglish());
    }
}

// Until a supply is identified the list stays inert.
std::optional<std::pair<double, double>> StationSettings::hotValue(int row) const
{
    return controller_.identified() ? hotValues_.valueAt(row) : std::nullopt;
}

void StationSettings::addHotValue(double volts, double amperes)
{
    if (!controller_.identified()) {
        // The link went and the list has been saved already: the pair goes
        // straight to the file, so it is not lost.
        tellProblem(settings_.appendPair(volts, amperes));
        return;
    }
    hotValues_.add(volts, amperes);
}
