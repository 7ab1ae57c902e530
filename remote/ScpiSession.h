#pragma once

#include "remote/RemoteInstrument.h"
#include "remote/ScpiCommand.h"
#include "remote/ScpiErrorQueue.h"
#include "remote/ScpiNumber.h"
#include "remote/ScpiPattern.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One client's conversation: its error queue and command path. Each line is
// run command by command until the first error, so a refused setpoint never
// lets the output be switched on after it.
class ScpiSession {
public:
    static constexpr std::string_view kMaker = "Tendrel Electronics";

    ScpiSession(RemoteInstrument& instrument, std::string programVersion);

    // The answers to the line's queries joined by ';'; empty when there are none.
    std::string handleLine(std::string_view line);
    // A line too long to keep was dropped.
    void lineTooLong();

private:
    using Outcome = std::optional<ScpiError>;
    using Handler = Outcome (ScpiSession::*)(const ScpiCommand&);
    struct Entry {
        ScpiPattern pattern;
        Handler handler;
    };

    static const std::vector<Entry>& table();
    const Entry* find(const ScpiCommand& command);
    Outcome run(std::string_view text);

    Outcome identify(const ScpiCommand& command);
    Outcome reset(const ScpiCommand& command);
    Outcome clearStatus(const ScpiCommand& command);
    Outcome operationComplete(const ScpiCommand& command);
    Outcome nextError(const ScpiCommand& command);
    Outcome scpiVersion(const ScpiCommand& command);
    Outcome linkQuery(const ScpiCommand& command);
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

    Outcome setpoint(const ScpiCommand& command, ScpiNumber::Quantity quantity);
    Outcome setpointQuery(const ScpiCommand& command, ScpiNumber::Quantity quantity);
    Outcome measure(const ScpiCommand& command, double (*pick)(const RemoteInstrument::Measurement&));
    Outcome answerNumber(double value);

    RemoteInstrument& instrument_;
    std::string programVersion_;
    ScpiErrorQueue errors_;
    std::vector<std::string> path_;
    std::vector<std::string> answers_;
};
