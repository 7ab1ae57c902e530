#include "metrics/MetricsExposition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

SupplySnapshot identified(bool outputOn, bool voltageRegulated = true)
{
    SupplySnapshot s;
    s.port = "/dev/ttyUSB0";
    s.state.identified = true;
    s.state.model = "Tolvik";
    s.lastModel = "Tolvik";
    s.state.linkUp = true;
    s.state.reading = Measurement{outputOn ? 12.5 : 0.0, outputOn ? 2.0 : 0.0, voltageRegulated, outputOn, {}};
    s.state.outputOn = outputOn;
    s.state.voltageSetpoint = 12.5;
    s.polls = 40;
    s.missedPolls = 3;
    s.coulombs = 7200.0;
    return s;
}

struct Case {
    const char* name;
    SupplySnapshot snapshot;
    std::vector<std::string> present;
    // Metric names that must have no sample for this supply.
    std::vector<std::string> absent;
};

std::vector<Case> cases()
{
    SupplySnapshot cc = identified(true, false);
    cc.state.program = ProgramEngine::State::Paused;
    cc.state.programStep = 3;
    SupplySnapshot stale = identified(true);
    stale.state.reading.reset();
    stale.state.stale = true;
    SupplySnapshot lost = identified(true);
    lost.state.identified = lost.state.linkUp = false;
    lost.state.reading = Measurement{24.066, 2.415, true, true, {}};
    SupplySnapshot odd;
    odd.port = R"(C:\a"b)";
    return {
        {"never identified", SupplySnapshot{},
            {R"(tendrel_supply_link_up{port="",model="none"} 0)",
                R"(tendrel_supply_program_state{port="",model="none",state="idle"} 1)",
                R"(tendrel_supply_polls_total{port="",model="none"} 0)"},
            {"tendrel_supply_voltage_volts{", "tendrel_supply_output_on{", "tendrel_supply_voltage_setpoint_volts{",
                "tendrel_supply_program_step{"}},
        {"output off: nothing delivered is 0", identified(false),
            {R"(tendrel_supply_voltage_volts{port="/dev/ttyUSB0",model="Tolvik"} 0)",
                R"(tendrel_supply_power_watts{port="/dev/ttyUSB0",model="Tolvik"} 0)",
                R"(tendrel_supply_output_on{port="/dev/ttyUSB0",model="Tolvik"} 0)",
                R"(tendrel_supply_voltage_setpoint_volts{port="/dev/ttyUSB0",model="Tolvik"} 12.5)",
                R"(tendrel_supply_missed_polls_total{port="/dev/ttyUSB0",model="Tolvik"} 3)",
                R"(tendrel_supply_charge_coulombs_total{port="/dev/ttyUSB0",model="Tolvik"} 7200)"},
            {"tendrel_supply_constant_current{", "tendrel_supply_current_setpoint_amperes{"}},
        {"constant current, paused program", cc,
            {R"(tendrel_supply_power_watts{port="/dev/ttyUSB0",model="Tolvik"} 25)",
                R"(tendrel_supply_constant_current{port="/dev/ttyUSB0",model="Tolvik"} 1)",
                R"(tendrel_supply_program_state{port="/dev/ttyUSB0",model="Tolvik",state="paused"} 1)",
                R"(tendrel_supply_program_state{port="/dev/ttyUSB0",model="Tolvik",state="running"} 0)",
                R"(tendrel_supply_program_step{port="/dev/ttyUSB0",model="Tolvik"} 3)"},
            {}},
        {"stale readings are absent, not 0", stale,
            {R"(tendrel_supply_output_on{port="/dev/ttyUSB0",model="Tolvik"} 1)"},
            {"tendrel_supply_voltage_volts{", "tendrel_supply_current_amperes{", "tendrel_supply_power_watts{"}},
        {"link lost: the series keeps its model; power in its shortest exact form", lost,
            {R"(tendrel_supply_link_up{port="/dev/ttyUSB0",model="Tolvik"} 0)",
                R"(tendrel_supply_power_watts{port="/dev/ttyUSB0",model="Tolvik"} 58.11939)"},
            {}},
        {"label values escaped", odd, {R"(tendrel_supply_link_up{port="C:\\a\"b",model="none"} 0)"}, {}},
    };
}

TEST(MetricsExposition, SamplesFollowTheSnapshot)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const std::string text = MetricsExposition::format({c.snapshot}, std::nullopt, "1.2.3");
        for (const std::string& line : c.present) {
            EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << line << "\n" << text;
        }
        for (const std::string& name : c.absent) {
            EXPECT_EQ(text.find("\n" + name), std::string::npos) << name;
        }
    }
}

TEST(MetricsExposition, EachFamilyOnceWithHelpAndTypeAndItsSamplesBelow)
{
    SupplySnapshot second = identified(true);
    second.port = "/dev/ttyUSB1";
    const std::string text = MetricsExposition::format({identified(true), second}, 2, "1.2.3");
    const std::string voltage = "tendrel_supply_voltage_volts";
    const auto type = text.find("# TYPE " + voltage + " gauge\n");
    ASSERT_NE(type, std::string::npos);
    EXPECT_EQ(text.find("# TYPE " + voltage, type + 1), std::string::npos);
    EXPECT_LT(text.find("# HELP " + voltage + " "), type);
    const auto first = text.find(voltage + "{port=\"/dev/ttyUSB0\"");
    const auto next = text.find(voltage + "{port=\"/dev/ttyUSB1\"");
    EXPECT_LT(type, first);
    EXPECT_EQ(next, text.find('\n', first) + 1) << "the second supply's sample follows the first's";
    EXPECT_NE(text.find("\ntendrel_remote_clients 2\n"), std::string::npos);
    EXPECT_NE(text.find("\ntendrel_build_info{version=\"1.2.3\"} 1\n"), std::string::npos);
    EXPECT_EQ(MetricsExposition::format({}, std::nullopt, "1").find("tendrel_remote_clients"), std::string::npos);
}

} // namespace
