#pragma once

#include "remote/RemoteInstrument.h"
#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"
#include "remote/ScpiNumber.h"
#include "remote/ScpiTickets.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The commands that reach the supply itself: its setpoints, its output and its
// readings. Made for one command at a time; answers go to the session's list
// and accepted commands to its tickets.
class ScpiSupplyCommands {
public:
    using Outcome = std::optional<ScpiError>;

    ScpiSupplyCommands(RemoteInstrument& instrument, std::vector<std::string>& answers, ScpiTickets& tickets);

    Outcome setVoltage(const ScpiCommand& command);
    Outcome setCurrent(const ScpiCommand& command);
    Outcome voltageQuery(const ScpiCommand& command);
    Outcome currentQuery(const ScpiCommand& command);
    Outcome setOutput(const ScpiCommand& command);
    Outcome outputQuery(const ScpiCommand& command);
    Outcome outputMode(const ScpiCommand& command);
    Outcome measureVoltage(const ScpiCommand& command);
    Outcome measureCurrent(const ScpiCommand& command);
    Outcome measurePower(const ScpiCommand& command);
    // APPLy <voltage>[,<current>] and APPLy?, which answers both setpoints.
    Outcome apply(const ScpiCommand& command);
    Outcome applyQuery(const ScpiCommand& command);
    // How a command the supply's path refused is told in the error queue.
    static ScpiError refusal(RemoteInstrument::SetResult result);

private:
    Outcome setpoint(const ScpiCommand& command, Quantity quantity);
    Outcome setpointQuery(const ScpiCommand& command, Quantity quantity);
    // The value a parameter asks for, within the model's limits.
    std::variant<double, ScpiError> resolve(std::string_view text, Quantity quantity) const;
    Outcome send(Quantity quantity, double value);
    Outcome measure(const ScpiCommand& command, double (*pick)(const Measurement&));
    // The newest reading, or why no answer may come from it.
    std::variant<Measurement, ScpiError> newestReading() const;
    Outcome answerNumber(double value);
    Outcome answerSetpoint(double value);

    RemoteInstrument& instrument_;
    std::vector<std::string>& answers_;
    ScpiTickets& tickets_;
};
