#pragma once

#include "remote/RemoteChannels.h"
#include "remote/RemoteInstrument.h"
#include "remote/ScpiChannel.h"
#include "remote/ScpiCommand.h"
#include "remote/ScpiCompletion.h"
#include "remote/ScpiErrorQueue.h"
#include "remote/ScpiLists.h"
#include "remote/ScpiPattern.h"
#include "remote/ScpiProgramCommands.h"
#include "remote/ScpiProtectionCommands.h"
#include "remote/ScpiStatus.h"
#include "remote/ScpiStatusCommands.h"
#include "remote/ScpiSupplyCommands.h"
#include "remote/ScpiSystemCommands.h"
#include "remote/ScpiTickets.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One client's conversation: its error queue, status model and command path.
// Each line is run command by command until the first error, so a refused
// setpoint never lets the output be switched on after it. *OPC? and *WAI hold
// the rest of their line, and the client's later lines, until what came
// before them is complete. A command that names no channel addresses the one
// the client selected, channel 1 at first.
class ScpiSession {
public:
    static constexpr std::string_view kMaker = "Tendrel Electronics";

    // The answers to a line's queries joined by ';', empty when there are
    // none; none yet while the line waits for completion.
    struct Answer {
        std::string text;
        bool waiting = false;
    };

    // `client` names this client's commands to the controller; non-zero and
    // distinct for each client.
    ScpiSession(RemoteChannels channels, std::string programVersion, std::uint64_t client = 1);

    // Where PROGram:LOAD finds programs by name; none until set.
    void setProgramsFolder(const QString& folder) { programsFolder_ = folder; }

    // Not while waiting().
    Answer handleLine(std::string_view line);
    bool waiting() const { return wait_.has_value(); }
    // After each reply of the supply: a wait that is over lets its line go on,
    // and a pending *OPC sets its event bit.
    Answer resume();
    // The client has gone: the rest of a waiting line runs at once, unanswered.
    void finishWithoutWaiting();
    // A line too long to keep was dropped.
    void lineTooLong();
    // The commands first..last of the frame may never have reached the
    // supply: the link was lost (NotConnected) or its On/Off switch is on.
    void commandsDropped(Quantity frame, std::uint64_t first, std::uint64_t last, std::size_t channel = 1,
        RemoteInstrument::SetResult why = RemoteInstrument::SetResult::NotConnected);
    // The output switch carried this voltage because the setpoint was not known.
    void unknownSetpointSent(double volts, std::size_t channel = 1);
    // An output-on this client was answered for has been refused since: a
    // protection trip latched before its turn came.
    void switchRefused(std::uint64_t client, RemoteInstrument::SetResult why, std::size_t channel = 1);
    // Takes every supply's present regulation, reading and link into the
    // OPERation and QUEStionable conditions, latching the bits that rose.
    void sampleConditions();

private:
    // The table names the handlers below.
    friend class ScpiCommandTable;

    using Outcome = std::optional<ScpiError>;
    using Handler = Outcome (ScpiSession::*)(const ScpiCommand&);
    using SupplyHandler = Outcome (ScpiSupplyCommands::*)(const ScpiCommand&);
    using StatusHandler = Outcome (ScpiStatusCommands::*)(const ScpiCommand&);
    using SystemHandler = Outcome (ScpiSystemCommands::*)(const ScpiCommand&);
    using ProgramHandler = Outcome (ScpiProgramCommands::*)(const ScpiCommand&);
    using ProtectionHandler = Outcome (ScpiProtectionCommands::*)(const ScpiCommand&);
    // What runs the command, whose header is its mnemonics without their
    // channel, or none; the channel takes the one the path names.
    Handler find(const ScpiCommand& command, const std::vector<std::string>& header, ScpiChannel& channel);
    // The header as written, suffixes and all, less its last mnemonic.
    void keepPath(std::vector<std::string> written);
    Outcome run(std::string_view text);
    // Runs the rest of the line until it ends or waits.
    Answer proceed();
    // True when the wait is over, its answer given.
    bool endWait();
    void checkPendingOperation();
    std::string joinedAnswers() const;
    void report(ScpiError error);
    // Where an error happened, when there is more than one channel it may have.
    std::string onChannel(std::size_t channel) const;
    RemoteInstrument& instrument() const { return channels_.at(addressed_); }

    Outcome identify(const ScpiCommand& command);
    Outcome reset(const ScpiCommand& command);
    Outcome clearStatus(const ScpiCommand& command);
    Outcome operationComplete(const ScpiCommand& command);
    Outcome setOperationComplete(const ScpiCommand& command);
    Outcome wait(const ScpiCommand& command);
    // Each command group runs against this session's state for the channel
    // addressed, and answers into the line's answers.
    template <SupplyHandler handler> Outcome supply(const ScpiCommand& command)
    {
        ScpiSupplyCommands commands(instrument(), answers_, tickets_.at(addressed_ - 1));
        return (commands.*handler)(command);
    }
    template <StatusHandler handler> Outcome status(const ScpiCommand& command)
    {
        ScpiStatusCommands commands({channels_, addressed_, status_, !errors_.empty(), answers_});
        return (commands.*handler)(command);
    }
    template <SystemHandler handler> Outcome system(const ScpiCommand& command)
    {
        ScpiSystemCommands commands({instrument(), channels_.count(), selected_, errors_, answers_});
        return (commands.*handler)(command);
    }
    template <ProgramHandler handler> Outcome program(const ScpiCommand& command)
    {
        ScpiProgramCommands commands({instrument(), lists_.at(addressed_ - 1), answers_, programsFolder_});
        return (commands.*handler)(command);
    }
    template <ProtectionHandler handler> Outcome protection(const ScpiCommand& command)
    {
        ScpiProtectionCommands commands(instrument(), answers_);
        return (commands.*handler)(command);
    }

    RemoteChannels channels_;
    std::string programVersion_;
    std::uint64_t client_;
    QString programsFolder_;
    ScpiErrorQueue errors_;
    ScpiStatus status_;
    // Each channel's, channel 1 first.
    std::vector<ScpiTickets> tickets_;
    std::vector<ScpiLists> lists_;
    std::size_t selected_ = 1;
    // The channel of the command that runs.
    std::size_t addressed_ = 1;
    // As written, channel suffixes included.
    std::vector<std::string> path_;
    std::vector<std::string> answers_;
    // The commands of the present line still to run.
    std::deque<std::string> rest_;
    struct Wait {
        ScpiCompletion completion;
        bool answers; // *OPC? answers 1, *WAI nothing
    };
    std::optional<Wait> wait_;
    // What *OPC waits for before it sets its event bit.
    std::optional<ScpiCompletion> pendingOperation_;
};
