#pragma once

#include "remote/RemoteInstrument.h"
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

    struct Context {
        const RemoteInstrument& instrument;
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
    Outcome operationCondition(const ScpiCommand& command) { return condition(command, context_.status.operation()); }
    Outcome setOperationEnable(const ScpiCommand& command) { return setEnable(command, context_.status.operation()); }
    Outcome operationEnable(const ScpiCommand& command) { return enable(command, context_.status.operation()); }
    Outcome questionableEvent(const ScpiCommand& command) { return takeEvent(command, context_.status.questionable()); }
    Outcome questionableCondition(const ScpiCommand& command)
    {
        return condition(command, context_.status.questionable());
    }
    Outcome setQuestionableEnable(const ScpiCommand& command)
    {
        return setEnable(command, context_.status.questionable());
    }
    Outcome questionableEnable(const ScpiCommand& command) { return enable(command, context_.status.questionable()); }
    // The transition filters, OPERation's and QUEStionable's alike.
    Outcome setRising(const ScpiCommand& command, ScpiStatusRegister& which);
    Outcome rising(const ScpiCommand& command, const ScpiStatusRegister& which);
    Outcome setFalling(const ScpiCommand& command, ScpiStatusRegister& which);
    Outcome falling(const ScpiCommand& command, const ScpiStatusRegister& which);
    Outcome setOperationRising(const ScpiCommand& command) { return setRising(command, context_.status.operation()); }
    Outcome operationRising(const ScpiCommand& command) { return rising(command, context_.status.operation()); }
    Outcome setOperationFalling(const ScpiCommand& command) { return setFalling(command, context_.status.operation()); }
    Outcome operationFalling(const ScpiCommand& command) { return falling(command, context_.status.operation()); }
    Outcome setQuestionableRising(const ScpiCommand& command)
    {
        return setRising(command, context_.status.questionable());
    }
    Outcome questionableRising(const ScpiCommand& command) { return rising(command, context_.status.questionable()); }
    Outcome setQuestionableFalling(const ScpiCommand& command)
    {
        return setFalling(command, context_.status.questionable());
    }
    Outcome questionableFalling(const ScpiCommand& command) { return falling(command, context_.status.questionable()); }

private:
    Outcome takeEvent(const ScpiCommand& command, ScpiStatusRegister& which);
    Outcome condition(const ScpiCommand& command, const ScpiStatusRegister& which);
    Outcome setEnable(const ScpiCommand& command, ScpiStatusRegister& which);
    Outcome enable(const ScpiCommand& command, const ScpiStatusRegister& which);
    // A whole number from 0 to max, as NRf: 32, 32.0 and 3.2E1 are the same.
    static std::optional<unsigned> wholeNumber(const ScpiCommand& command, unsigned max, ScpiError& error);
    Outcome answer(unsigned value);

    Context context_;
};
