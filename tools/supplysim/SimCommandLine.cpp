#include "SimCommandLine.h"

#include "ArgumentValue.h"
#include "ResistiveLoad.h"
#include "SupplyState.h"

#include <optional>

namespace {

template <typename T> std::string store(const std::optional<T>& value, T& target, const std::string& option)
{
    if (!value) {
        return "bad value for " + option;
    }
    target = *value;
    return {};
}

} // namespace

SimCommandLine::Parsed SimCommandLine::parse(const std::vector<std::string>& arguments)
{
    Parsed parsed;
    parsed.options.recordFrames = false;
    for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            parsed.help = true;
        } else if (i + 1 < arguments.size()) {
            parsed.error = apply(option, arguments[i + 1], parsed);
            ++i;
        } else {
            parsed.error = option.rfind("--", 0) == 0 ? "missing value for " + option : "unknown option " + option;
        }
    }
    return parsed;
}

std::string SimCommandLine::apply(const std::string& option, const std::string& value, Parsed& parsed)
{
    SimulatedSupply::Options& options = parsed.options;
    const int fullScale = ResistiveLoad::kFullScaleRaw;
    if (option == "--model") {
        return store(ArgumentValue::integer(value, 0, SupplyState::kMaxModelCode), options.modelCode, option);
    }
    if (option == "--voltage") {
        return store(ArgumentValue::integer(value, 0, fullScale), options.voltageRaw, option);
    }
    if (option == "--current") {
        return store(ArgumentValue::integer(value, 0, fullScale), options.currentRaw, option);
    }
    if (option == "--load") {
        return store(ArgumentValue::ohms(value), options.loadOhms, option);
    }
    if (option == "--output") {
        return store(ArgumentValue::onOff(value), options.outputOn, option);
    }
    if (option == "--link") {
        options.linkPath = value;
        return {};
    }
    if (option == "--log") {
        parsed.logFile = value;
        return {};
    }
    return "unknown option " + option;
}

std::string SimCommandLine::usage(const std::string& program)
{
    return "Usage: " + program
        + " [options]\n"
          "A simulated power supply on a pseudo-terminal. Prints the device path, then\n"
          "reads commands from stdin until 'quit', SIGINT or SIGTERM.\n"
          "\n"
          "Options:\n"
          "  --model N          model code, 0..127 (default 1)\n"
          "  --voltage RAW      voltage setpoint, 0..1000 thousandths of full scale (default 764)\n"
          "  --current RAW      current limit, 0..1000 thousandths of full scale (default 200)\n"
          "  --load OHMS        resistive load (default 2.0)\n"
          "  --output on|off    output state at start (default off)\n"
          "  --link PATH        symbolic link to the device, replaced if it exists\n"
          "  --log FILE         append the frame log to FILE instead of stderr\n"
          "  -h, --help         show this text\n"
          "\n"
          "Commands:\n"
          "  silent | answer    stop answering (mains lost) / answer again, output off\n"
          "  panel on|off       panel switch: answer polls with the status byte alone\n"
          "  garbage on|off     answer polls with random bytes\n"
          "  model N            change the model code (0..127)\n"
          "  load OHMS          change the load\n"
          "  output on|off      switch the output\n"
          "  setpoints V I      raw voltage and current setpoints\n"
          "  vanish | plug      pull the adapter out / plug it back in (prints the new path)\n"
          "  quit\n";
}
