#include "SimCommandLine.h"

#include "ArgumentValue.h"
#include "BatteryPack.h"
#include "ResistiveLoad.h"
#include "SupplyState.h"

#include <getopt.h>

#include <array>
#include <optional>

namespace {

enum Code : int {
    kHelp = 'h',
    kVersion = 256,
    kModel,
    kVoltage,
    kCurrent,
    kLoad,
    kOutput,
    kLink,
    kLog,
    kBattery,
    kTimeScale
};

constexpr std::array<option, 12> kOptions{{
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"model", required_argument, nullptr, kModel},
    {"voltage", required_argument, nullptr, kVoltage},
    {"current", required_argument, nullptr, kCurrent},
    {"load", required_argument, nullptr, kLoad},
    {"output", required_argument, nullptr, kOutput},
    {"link", required_argument, nullptr, kLink},
    {"log", required_argument, nullptr, kLog},
    {"battery", required_argument, nullptr, kBattery},
    {"time-scale", required_argument, nullptr, kTimeScale},
    {nullptr, 0, nullptr, 0},
}};

template <typename T>
std::string store(const std::optional<T>& value, T& target, const std::string& option, const std::string& expected)
{
    if (!value) {
        return "bad value for " + option + ", expected " + expected;
    }
    target = *value;
    return {};
}

std::string storeBattery(const std::string& value, std::optional<BatteryPack>& target)
{
    target = BatteryPack::parse(value);
    if (!target) {
        return "bad value for --battery, expected " + std::string(BatteryPack::kForm);
    }
    return {};
}

std::optional<double> timeScale(const std::string& value)
{
    const std::optional<double> scale = ArgumentValue::finite(value);
    if (!scale || *scale <= 0.0 || *scale > SimulatedSupply::kMaxTimeScale) {
        return std::nullopt;
    }
    return scale;
}

} // namespace

SimCommandLine::Parsed SimCommandLine::parse(const std::vector<std::string>& arguments)
{
    // getopt_long reads an argv: the program's name first, then writable strings.
    std::vector<std::string> words{"tendrel-supply-sim"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    Parsed parsed;
    parsed.options.recordFrames = false;
    // getopt_long keeps its place in globals: 0 starts afresh, and its own
    // messages are replaced by ours.
    optind = 0;
    opterr = 0;
    while (parsed.error.empty()) {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): one parse at a time, as the header says
        const int code = getopt_long(argc, argv.data(), "+:h", kOptions.data(), nullptr);
        if (code == -1) {
            break;
        }
        // optind has passed the option, and its value when it took one.
        const std::string& given = words[static_cast<std::size_t>(optind - 1)];
        parsed.error = apply(code, optarg != nullptr ? optarg : "", given, parsed);
    }
    if (parsed.error.empty() && optind < argc) {
        parsed.error = "unexpected argument " + words[static_cast<std::size_t>(optind)];
    }
    return parsed;
}

std::string SimCommandLine::apply(int code, const std::string& value, const std::string& given, Parsed& parsed)
{
    SimulatedSupply::Options& options = parsed.options;
    const int fullScale = ResistiveLoad::kFullScaleRaw;
    switch (code) {
    case kHelp:
        parsed.help = true;
        return {};
    case kVersion:
        parsed.version = true;
        return {};
    case kModel:
        return store(ArgumentValue::integer(value, 0, SupplyState::kMaxModelCode), options.modelCode, "--model",
            "a whole number from 0 to " + std::to_string(SupplyState::kMaxModelCode));
    case kVoltage:
        return store(ArgumentValue::integer(value, 0, fullScale), options.voltageRaw, "--voltage",
            "a whole number from 0 to " + std::to_string(fullScale));
    case kCurrent:
        return store(ArgumentValue::integer(value, 0, fullScale), options.currentRaw, "--current",
            "a whole number from 0 to " + std::to_string(fullScale));
    case kLoad:
        return store(ArgumentValue::ohms(value), options.loadOhms, "--load", "ohms above 0");
    case kOutput:
        return store(ArgumentValue::onOff(value), options.outputOn, "--output", "on or off");
    case kLink:
        options.linkPath = value;
        return {};
    case kLog:
        parsed.logFile = value;
        return {};
    case kBattery:
        return storeBattery(value, options.battery);
    case kTimeScale:
        return store(timeScale(value), options.timeScale, "--time-scale",
            "a factor above 0, at most " + std::to_string(static_cast<int>(SimulatedSupply::kMaxTimeScale)));
    case ':':
        return "missing value for " + given;
    default:
        return "unknown option " + given;
    }
}

std::string SimCommandLine::version()
{
    return "tendrel-supply-sim " TENDREL_VERSION "\n";
}

std::string SimCommandLine::usage(const std::string& program)
{
    return "Usage: " + program
        + " [options]\n"
          "A simulated power supply on a pseudo-terminal. Prints the device path, then\n"
          "reads commands from stdin until 'quit', SIGINT or SIGTERM.\n"
          "\n"
          "Options (a value follows the option or an '=': --model 3, --model=3):\n"
          "  --model N          model code, 0..127 (default 1)\n"
          "  --voltage RAW      voltage setpoint, 0..1000 thousandths of full scale (default 764)\n"
          "  --current RAW      current limit, 0..1000 thousandths of full scale (default 200)\n"
          "  --load OHMS        resistive load (default 2.0)\n"
          "  --output on|off    output state at start (default off)\n"
          "  --link PATH        symbolic link to the device, replaced if it exists\n"
          "  --log FILE         append the frame log to FILE instead of stderr\n"
          "  --battery CHEMISTRY:CELLSsCAPACITYAh[:SOC%]\n"
          "                     a battery in place of the load, such as li-ion:1s2.0Ah:20;\n"
          "                     li-ion, lipo, lifepo4, lead-acid, agm, gel, nimh or nicd,\n"
          "                     1 to 64 cells, 0.001 to 1000 Ah, charged 0..100 % (default 50)\n"
          "  --time-scale X     simulated seconds of the battery per real second, above 0\n"
          "                     and up to 10000 (default 1)\n"
          "  -h, --help         show this text\n"
          "  --version          show the version\n"
          "\n"
          "Commands:\n"
          "  silent | answer    stop answering (mains lost) / answer again, output off\n"
          "  panel on|off       panel switch: answer polls with the status byte alone\n"
          "  garbage on|off     answer polls with random bytes\n"
          "  model N            change the model code (0..127)\n"
          "  load OHMS          change the load\n"
          "  output on|off      switch the output\n"
          "  setpoints V I      raw voltage and current setpoints\n"
          "  battery            print the battery's charge, open-circuit voltage, the\n"
          "                     ampere-hours it took and its simulated time\n"
          "  battery leak AMPS  a current the battery draws besides its charge (a short)\n"
          "  vanish | plug      pull the adapter out / plug it back in (prints the new path)\n"
          "  quit\n";
}
