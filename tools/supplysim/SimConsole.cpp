#include "SimConsole.h"

#include "ArgumentValue.h"
#include "ResistiveLoad.h"
#include "SupplyState.h"

#include <iomanip>
#include <optional>
#include <sstream>

namespace {

const SimConsole::Result kDone{SimConsole::Status::Done, {}};

SimConsole::Result failed(const std::string& message)
{
    return {SimConsole::Status::Failed, message};
}

std::string statusLine(const SimulatedSupply::BatteryStatus& status)
{
    constexpr double kPercent = 100.0;
    std::ostringstream line;
    line << std::fixed << std::setprecision(1) << "soc " << status.stateOfCharge * kPercent << " %, ocv "
         << std::setprecision(3) << status.openCircuitVolts << " V, " << std::setprecision(4) << status.ampereHours
         << " Ah, " << std::setprecision(1) << status.simulatedSeconds << " s";
    return line.str();
}

} // namespace

SimConsole::SimConsole(SimulatedSupply& supply)
    : supply_(supply)
{
}

SimConsole::Result SimConsole::execute(const std::string& line)
{
    std::istringstream words(line);
    std::string command;
    if (!(words >> command)) {
        return kDone;
    }
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) {
        arguments.push_back(word);
    }
    return dispatch(command, arguments);
}

SimConsole::Result SimConsole::dispatch(const std::string& command, const std::vector<std::string>& arguments)
{
    if (command == "panel" || command == "garbage" || command == "output") {
        return switchCommand(command, arguments);
    }
    if (command == "model") {
        return modelCommand(arguments);
    }
    if (command == "load") {
        return loadCommand(arguments);
    }
    if (command == "setpoints") {
        return setpointsCommand(arguments);
    }
    if (command == "battery") {
        return batteryCommand(arguments);
    }
    if (!arguments.empty()) {
        return failed(command + " takes no arguments");
    }
    if (command == "quit") {
        return {Status::Quit, {}};
    }
    if (command == "silent" || command == "answer") {
        supply_.setSilent(command == "silent");
        return kDone;
    }
    if (command == "vanish") {
        supply_.vanish();
        return kDone;
    }
    if (command == "plug") {
        return plug();
    }
    return failed("unknown command " + command);
}

SimConsole::Result SimConsole::switchCommand(const std::string& command, const std::vector<std::string>& arguments)
{
    const std::optional<bool> on = arguments.size() == 1 ? ArgumentValue::onOff(arguments[0]) : std::nullopt;
    if (!on) {
        return failed("usage: " + command + " on|off");
    }
    if (command == "panel") {
        supply_.setPanelSwitch(*on);
    } else if (command == "garbage") {
        supply_.setGarbage(*on);
    } else {
        supply_.setOutput(*on);
    }
    return kDone;
}

SimConsole::Result SimConsole::modelCommand(const std::vector<std::string>& arguments)
{
    const std::optional<int> code
        = arguments.size() == 1 ? ArgumentValue::integer(arguments[0], 0, SupplyState::kMaxModelCode) : std::nullopt;
    if (!code) {
        return failed("usage: model 0..127");
    }
    supply_.setModelCode(*code);
    return kDone;
}

SimConsole::Result SimConsole::loadCommand(const std::vector<std::string>& arguments)
{
    const std::optional<double> ohms = arguments.size() == 1 ? ArgumentValue::ohms(arguments[0]) : std::nullopt;
    if (!ohms) {
        return failed("usage: load OHMS (above zero)");
    }
    supply_.setLoad(*ohms);
    return kDone;
}

SimConsole::Result SimConsole::setpointsCommand(const std::vector<std::string>& arguments)
{
    const int fullScale = ResistiveLoad::kFullScaleRaw;
    const bool two = arguments.size() == 2;
    const std::optional<int> voltage = two ? ArgumentValue::integer(arguments[0], 0, fullScale) : std::nullopt;
    const std::optional<int> current = two ? ArgumentValue::integer(arguments[1], 0, fullScale) : std::nullopt;
    if (!voltage || !current) {
        return failed("usage: setpoints 0..1000 0..1000");
    }
    supply_.setSetpoints(*voltage, *current);
    return kDone;
}

SimConsole::Result SimConsole::batteryCommand(const std::vector<std::string>& arguments)
{
    const std::optional<SimulatedSupply::BatteryStatus> status = supply_.battery();
    if (!status) {
        return failed("no battery: start with --battery");
    }
    if (arguments.empty()) {
        return {Status::Done, statusLine(*status)};
    }
    const std::optional<double> leak
        = arguments.size() == 2 && arguments[0] == "leak" ? ArgumentValue::finite(arguments[1]) : std::nullopt;
    if (!leak || *leak < 0.0 || *leak > SimulatedBattery::kMaxLeakAmperes) {
        return failed("usage: battery, or battery leak AMPS (0..1000)");
    }
    supply_.setBatteryLeak(*leak);
    return kDone;
}

SimConsole::Result SimConsole::plug()
{
    if (!supply_.start()) {
        return failed("cannot plug in: already plugged in, or the pseudo-terminal failed");
    }
    return {Status::Done, supply_.devicePath()};
}
