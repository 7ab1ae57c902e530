#pragma once

#include "remote/RemoteChannels.h"
#include "remote/ScpiCommand.h"
#include "remote/ScpiError.h"
#include "remote/ScpiStatus.h"

#include <optional>
#include <string>
#include <vector>

// The status commands: the IEEE 488.2 common commands that read and enable
// the status model, and the STATus subsystem. Made for one command at a time;
// answers go to the session's list.
class ScpiStatusCommands {
public:
    using Outcome = std::optional<ScpiError>;
    using Getter = std::uint16_t (ScpiStatusRegister::*)() const;
    using Setter = void (ScpiStatusRegister::*)(std::uint16_t);

    struct Context {
        const RemoteChannels& channels;
        std::size_t channel; // the one the command addresses
        ScpiStatus& status;
        bool errorQueued;
        std::vector<std::string>& answers;
    };

    explicit ScpiStatusCommands(const Context& context);

    Outcome setEventEnable(const ScpiCommand& command);
    Outcome eventEnable(const ScpiCommand& command);
    Outcome takeEvents(const ScpiCommand& command);
    Outcome setServiceEnable(const ScpiCommand& command);
    Outcome serviceEnable(const ScpiCommand& command);
    Outcome statusByte(const ScpiCommand& command);
    Outcome selfTest(const ScpiCommand& command);
    Outcome options(const ScpiCommand& command);
    Outcome preset(const ScpiCommand& command);
    Outcome operationEvent(const ScpiCommand& command) { return takeEvent(command, context_.status.operation()); }
    Outcome questionableEvent(const ScpiCommand& command) { return takeEvent(command, context_.status.questionable()); }
    // The condition, enable and transition filters, OPERation's and QUEStionable's alike.
    template <Getter get> Outcome operationMask(const ScpiCommand& command)
    {
        return readMask(command, context_.status.operation(), get);
    }
    template <Getter get> Outcome questionableMask(const ScpiCommand& command)
    {
        return readMask(command, context_.status.questionable(), get);
    }
    template <Setter set> Outcome setOperationMask(const ScpiCommand& command)
    {
        return setMask(command, context_.status.operation(), set);
    }
    template <Setter set> Outcome setQuestionableMask(const ScpiCommand& command)
    {
        return setMask(command, context_.status.questionable(), set);
    }
    // The addressed channel's INSTrument:ISUMmary register.
    Outcome instrumentEvent(const ScpiCommand& command) { return takeEvent(command, summary()); }
    template <Getter get> Outcome instrumentMask(const ScpiCommand& command)
    {
        return readMask(command, summary(), get);
    }
    template <Setter set> Outcome setInstrumentMask(const ScpiCommand& command)
    {
        return setMask(command, summary(), set);
    }

private:
    ScpiStatusRegister& summary() { return context_.status.instrumentSummary(context_.channel); }
    Outcome takeEvent(const ScpiCommand& command, ScpiStatusRegister& which);
    Outcome setMask(const ScpiCommand& command, ScpiStatusRegister& which, Setter set);
    Outcome readMask(const ScpiCommand& command, const ScpiStatusRegister& which, Getter get);
    // A whole number from 0 to max, as NRf: 32, 32.0 and 3.2E1 are the same.
    static std::optional<unsigned> wholeNumber(const ScpiCommand& command, unsigned max, ScpiError& error);
    Outcome answer(unsigned value);

    Context context_;
};
