#include "ActionDraw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// A nominal poll cycle, for drawing gaps; the run's own pace may differ.
constexpr int kCycleMs = 200;

} // namespace

ActionDraw::ActionDraw(std::uint64_t seed, const ModelProfile& model)
    : random_(seed)
    , model_(model)
{
}

int ActionDraw::below(int n)
{
    return n <= 1 ? 0 : static_cast<int>(random_() % static_cast<std::uint64_t>(n));
}

// Many actions at the same moment, many within a cycle, some after a pause.
int ActionDraw::gapMs()
{
    const int kind = below(100);
    if (kind < 40) {
        return 0;
    }
    return kind < 80 ? 1 + below(kCycleMs) : kCycleMs + below(3 * kCycleMs);
}

std::string ActionDraw::decimal(double low, double high, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const auto steps = static_cast<int>(std::floor((high - low) * scale));
    const double value = std::ceil(low * scale) / scale + below(std::max(steps, 1)) / scale;
    char text[32];
    (void)std::snprintf(text, sizeof text, "%.*f", decimals, std::min(value, high));
    return text;
}

std::string ActionDraw::volts()
{
    return decimal(model_.voltageMin, std::min(model_.voltageMax, 20.0), 1);
}

std::string ActionDraw::amperes()
{
    return decimal(model_.currentMin, std::min(model_.currentMax, 8.0), 1);
}

std::string ActionDraw::scpiFragment()
{
    switch (below(16)) {
    case 0:
    case 1:
        return "VOLT " + volts();
    case 2:
    case 3:
        return "CURR " + amperes();
    case 4:
    case 5:
        return "OUTP ON";
    case 6:
    case 7:
        return "OUTP OFF";
    case 8:
        return "APPL " + volts() + "," + amperes();
    case 9:
        return "OUTP:PROT:CLE";
    case 10:
        return std::array<const char*, 3>{"*OPC?", "*WAI", "*RST"}[below(3)];
    case 11:
        return std::array<const char*, 5>{"VOLT?", "CURR?", "MEAS:VOLT?", "MEAS:CURR?", "OUTP?"}[below(5)];
    case 12:
        return std::array<const char*, 4>{"VOLT 999", "CURR -1", "FOO:BAR", "OUTP MAYBE"}[below(4)];
    case 13:
        return "VOLT:PROT " + volts() + ";:VOLT:PROT:STAT " + (chance(70) ? "ON" : "OFF");
    case 14:
        return scpiProgram();
    default:
        return "CURR:PROT " + amperes() + ";:CURR:PROT:STAT ON";
    }
}

// A client's program, sent as a block, and its run stopped, paused or resumed.
std::string ActionDraw::scpiProgram()
{
    switch (below(4)) {
    case 0: {
        // One line of JSON, so that the action prints on one line.
        std::string steps;
        for (int step = 1 + below(2); step > 0; --step) {
            steps += std::string(steps.empty() ? "" : ",") + R"({"voltage_V":)" + volts() + R"(,"current_A":)"
                + amperes() + R"(,"output":true,"duration_s":)" + std::to_string(1 + below(3)) + "}";
        }
        const std::string json = R"({"format":"tendrel-program","version":1,"steps":[)" + steps + "]}";
        return "PROG:LOAD #" + std::to_string(std::to_string(json.size()).size()) + std::to_string(json.size()) + json
            + ";STAR";
    }
    case 1:
        return "PROG:PAUS";
    case 2:
        return "PROG:STAR";
    default:
        return "ABOR";
    }
}

// Lines a client would write, and the combinations that cross the frames.
std::string ActionDraw::scpiLine()
{
    switch (below(8)) {
    case 0:
        return "VOLT " + volts() + ";CURR " + amperes() + ";OUTP ON";
    case 1:
        return std::string(chance(50) ? "OUTP:PROT:CLE;OUTP ON" : "CURR " + amperes() + ";OUTP ON");
    case 2:
        return "OUTP OFF;" + std::string(chance(50) ? "VOLT " + volts() : "CURR " + amperes());
    case 3:
        return "VOLT?;CURR?;MEAS:VOLT?;MEAS:CURR?";
    default:
        break;
    }
    std::string line = scpiFragment();
    for (int more = below(4); more > 0; --more) {
        line += ";" + scpiFragment();
    }
    return line;
}

std::string ActionDraw::mqttPayload()
{
    switch (below(9)) {
    case 0:
        return R"({"voltage": )" + volts() + "}";
    case 1:
        return R"({"current": )" + amperes() + "}";
    case 2:
        return std::string(R"({"output": )") + (chance(60) ? "true" : "false") + "}";
    case 3:
        return R"({"current": )" + amperes() + R"(, "output": true})";
    case 4:
        return R"({"voltage": )" + volts() + R"(, "output": false})";
    case 5:
        return R"({"program": "stop"})";
    case 6:
        return R"({"voltage": 999})";
    case 7:
        return R"({"voltage": "5"})";
    default:
        return "not json";
    }
}

std::string ActionDraw::programStep()
{
    const std::string volts = chance(80) ? this->volts() : "-";
    const std::string amperes = chance(60) ? this->amperes() : "-";
    const std::string output = chance(50) ? "on" : (chance(50) ? "off" : "-");
    return volts + "/" + amperes + "/" + output + "/" + std::to_string(300 + below(1500));
}

// "stop;2.0/1.5/on/600;3.0/-/-/400": what a lost link does, then each step's
// volts, amperes, output and milliseconds.
std::string ActionDraw::program()
{
    std::string text = chance(50) ? "stop" : "resume";
    for (int steps = 1 + below(3); steps > 0; --steps) {
        text += ";" + programStep();
    }
    return text;
}

// "V=3.0 A=- W=20": the armed limits; '-' for none.
std::string ActionDraw::protection()
{
    const std::string volts = chance(50) ? decimal(0.5, 15.0, 1) : "-";
    const std::string amperes = chance(40) ? decimal(0.2, 6.0, 1) : "-";
    const std::string watts = chance(40) ? decimal(1.0, 40.0, 1) : "-";
    return "V=" + volts + " A=" + amperes + " W=" + watts;
}
