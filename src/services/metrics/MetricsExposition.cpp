#include "metrics/MetricsExposition.h"

#include <array>
#include <charconv>

namespace {

using Value = std::optional<double>;

struct Family {
    const char* name;
    const char* type;
    const char* help;
    Value (*value)(const SupplySnapshot&);
};

Value flag(std::optional<bool> value)
{
    return value ? Value(*value ? 1.0 : 0.0) : std::nullopt;
}

// Each family of one line per supply, in the order they are served.
const Family kFamilies[] = {
    {"tendrel_supply_link_up", "gauge", "1 while the supply is identified and answers, else 0",
        [](const SupplySnapshot& s) { return flag(s.state.linkUp); }},
    {"tendrel_supply_voltage_volts", "gauge", "Measured output voltage; 0 while the output is off",
        [](const SupplySnapshot& s) { return s.state.volts(); }},
    {"tendrel_supply_current_amperes", "gauge", "Measured output current; 0 while the output is off",
        [](const SupplySnapshot& s) { return s.state.amperes(); }},
    {"tendrel_supply_power_watts", "gauge", "Measured output power; 0 while the output is off",
        [](const SupplySnapshot& s) { return s.state.watts(); }},
    {"tendrel_supply_voltage_setpoint_volts", "gauge", "Voltage setpoint, while known",
        [](const SupplySnapshot& s) { return s.state.voltageSetpoint; }},
    {"tendrel_supply_current_setpoint_amperes", "gauge", "Current limit setpoint, while known",
        [](const SupplySnapshot& s) { return s.state.currentSetpoint; }},
    {"tendrel_supply_output_on", "gauge", "1 while the supply reports its output on, 0 while off",
        [](const SupplySnapshot& s) { return flag(s.state.outputOn); }},
    {"tendrel_supply_constant_current", "gauge", "1 while regulating current (CC), 0 while regulating voltage (CV)",
        [](const SupplySnapshot& s) {
            const auto voltage = s.state.voltageRegulated();
            return voltage ? Value(*voltage ? 0.0 : 1.0) : std::nullopt;
        }},
    {"tendrel_supply_polls_total", "counter", "Polls of the supply's line since the program started",
        [](const SupplySnapshot& s) { return Value(static_cast<double>(s.polls)); }},
    {"tendrel_supply_missed_polls_total", "counter", "Polls that brought no answer",
        [](const SupplySnapshot& s) { return Value(static_cast<double>(s.missedPolls)); }},
    {"tendrel_supply_charge_coulombs_total", "counter", "Charge delivered with the output on; reset by the user",
        [](const SupplySnapshot& s) { return Value(s.coulombs); }},
    {"tendrel_supply_energy_joules_total", "counter", "Energy delivered with the output on; reset by the user",
        [](const SupplySnapshot& s) { return Value(s.joules); }},
    {"tendrel_supply_protection_trips_total", "counter", "Protection limit trips since the program started",
        [](const SupplySnapshot& s) { return Value(static_cast<double>(s.trips)); }},
    {"tendrel_supply_recording", "gauge", "1 while the readings are recorded to a CSV file",
        [](const SupplySnapshot& s) { return flag(s.recording); }},
    {"tendrel_supply_program_step", "gauge", "Number of the running program's step, while a program runs",
        [](const SupplySnapshot& s) {
            return s.state.program == ProgramEngine::State::Idle ? std::nullopt
                                                                 : Value(static_cast<double>(s.state.programStep));
        }},
};

// Label values escaped as the format asks: backslash, double quote, newline.
void appendEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
            out.push_back(c);
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out.push_back(c);
        }
    }
}

// Shortest round-trip form, whatever the locale.
void appendNumber(std::string& out, double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

void appendSample(std::string& out, const char* name, const SupplySnapshot& s, const char* extra, double value)
{
    out += name;
    out += "{port=\"";
    appendEscaped(out, s.port);
    out += "\",model=\"";
    appendEscaped(out, s.model());
    out += '"';
    if (extra != nullptr) {
        out += extra;
    }
    out += "} ";
    appendNumber(out, value);
    out += '\n';
}

void appendHeader(std::string& out, const char* name, const char* type, const char* help)
{
    out.append("# HELP ").append(name).append(" ").append(help).append("\n");
    out.append("# TYPE ").append(name).append(" ").append(type).append("\n");
}

void appendProgramStates(std::string& out, const std::vector<SupplySnapshot>& supplies)
{
    const char* const name = "tendrel_supply_program_state";
    appendHeader(out, name, "gauge", "1 for the program engine's present state: idle, running or paused");
    const std::pair<ProgramEngine::State, const char*> states[] = {{ProgramEngine::State::Idle, ",state=\"idle\""},
        {ProgramEngine::State::Running, ",state=\"running\""}, {ProgramEngine::State::Paused, ",state=\"paused\""}};
    for (const SupplySnapshot& s : supplies) {
        for (const auto& [state, label] : states) {
            appendSample(out, name, s, label, s.state.program == state ? 1.0 : 0.0);
        }
    }
}

} // namespace

std::string MetricsExposition::format(
    const std::vector<SupplySnapshot>& supplies, std::optional<int> remoteClients, std::string_view version)
{
    std::string out;
    out.reserve(1024 + supplies.size() * 2048);
    for (const Family& family : kFamilies) {
        appendHeader(out, family.name, family.type, family.help);
        for (const SupplySnapshot& s : supplies) {
            if (const Value value = family.value(s)) {
                appendSample(out, family.name, s, nullptr, *value);
            }
        }
    }
    appendProgramStates(out, supplies);
    if (remoteClients) {
        appendHeader(out, "tendrel_remote_clients", "gauge", "Clients connected to the remote-control server");
        out.append("tendrel_remote_clients ").append(std::to_string(*remoteClients)).append("\n");
    }
    appendHeader(out, "tendrel_build_info", "gauge", "Always 1; the program's version as a label");
    out.append("tendrel_build_info{version=\"");
    appendEscaped(out, version);
    out.append("\"} 1\n");
    return out;
}
