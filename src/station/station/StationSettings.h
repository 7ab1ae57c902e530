#pragma once

#include "station/HotValueBook.h"
#include "station/PortSelection.h"
#include "station/SupplySettings.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class SupplyController;
class SupplyLink;

// What a supply's station keeps in the settings file beside the controller:
// the port choice and the hot values, read at start-up and at each
// identification, saved at each loss of the link and at the end. Each kind
// of problem with the file is told once a run.
class StationSettings final : public QObject {
    Q_OBJECT

public:
    StationSettings(SupplyLink& link, SupplyController& controller, QObject* parent = nullptr);

    // Drives this one port for this run, as a fixed port setting would, or
    // with "Auto" hunts on every port, leaving the file's port settings as
    // they are. Before listPorts().
    void usePortForThisRun(std::string device) { ports_.useForThisRun(std::move(device)); }
    // Lists the serial ports; false when the computer has none.
    bool listPorts() { return ports_.list(); }
    const std::vector<std::string>& portNames() const { return ports_.names(); }
    const std::string& lastPort() const { return ports_.lastPort(); }
    const std::string& usePort() const { return ports_.usePort(); }
    // Reads the settings and starts the controller on the ports they choose.
    void start();
    // Saves what an identified supply leaves behind, once, before the controller stops.
    void shutDown();

    // Hot values: stored pairs in volts and amperes, as their rows show them;
    // none until a supply is identified.
    std::optional<std::pair<double, double>> hotValue(int row) const;
    HotValueBook& hotValues() { return hotValues_; }
    const HotValueBook& hotValues() const { return hotValues_; }
    // Outside the list's units while no supply is identified: then the pair
    // goes straight to the file.
    void addHotValue(double volts, double amperes);

    const std::string& path() const { return settings_.path(); }

signals:
    // The settings file cannot be read or written; the advice says why and
    // what to do, in the window's words and in English.
    void settingsProblem(const QString& advice, const QString& inEnglish);

private:
    void load(bool startup);
    void save();
    void tellProblem(SettingsFile::Problem problem);

    SupplyLink& link_;
    SupplyController& controller_;
    SupplySettings settings_;
    PortSelection ports_;
    HotValueBook hotValues_;
    bool stopped_ = false;
};
