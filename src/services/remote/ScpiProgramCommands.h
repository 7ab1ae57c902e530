#pragma once

#include "remote/RemoteInstrument.h"
#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"
#include "remote/ScpiLists.h"
#include "remote/ScpiNumber.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

// The LIST subsystem, INITiate and ABORt, which run a client's lists as a
// program, the PROGram commands, which load, start and pause a program file,
// and the PROGram queries of whatever program runs. Made for one
// command at a time; answers go to the session's list.
class ScpiProgramCommands {
public:
    using Outcome = std::optional<ScpiError>;

    struct Context {
        RemoteInstrument& instrument;
        ScpiLists& lists;
        std::vector<std::string>& answers;
        // Where PROGram:LOAD finds a program by its name.
        const QString& programsFolder;
    };

    explicit ScpiProgramCommands(const Context& context);

    Outcome setVoltages(const ScpiCommand& command);
    Outcome voltages(const ScpiCommand& command) { return answerList(command, context_.lists.volts); }
    Outcome setCurrents(const ScpiCommand& command);
    Outcome currents(const ScpiCommand& command) { return answerList(command, context_.lists.amperes); }
    Outcome setDwells(const ScpiCommand& command);
    Outcome dwells(const ScpiCommand& command) { return answerList(command, context_.lists.dwellSeconds); }
    // LIST:COUNt N|INFinity.
    Outcome setCount(const ScpiCommand& command);
    Outcome count(const ScpiCommand& command);
    Outcome points(const ScpiCommand& command);
    Outcome initiate(const ScpiCommand& command);
    Outcome abort(const ScpiCommand& command);
    // PROGram:LOAD "NAME"|BLOCK keeps the program for PROGram:STARt, which
    // also goes on with a paused one; PAUSe and STOP act on whichever runs.
    Outcome loadProgram(const ScpiCommand& command);
    Outcome startProgram(const ScpiCommand& command);
    Outcome pauseProgram(const ScpiCommand& command);
    Outcome programState(const ScpiCommand& command);
    Outcome programStep(const ScpiCommand& command);
    Outcome programReason(const ScpiCommand& command);

private:
    // The longest dwell taken: a day.
    static constexpr double kMaxDwellSeconds = 86400.0;

    // Every value checked before the list is replaced.
    Outcome setList(
        const ScpiCommand& command, ScpiNumber::Unit quantity, double min, double max, std::vector<double>& list) const;
    Outcome answerList(const ScpiCommand& command, const std::vector<double>& list);

    Context context_;
};
