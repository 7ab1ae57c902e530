#include "remote/ScpiCompletion.h"

ScpiCompletion::ScpiCompletion(const ScpiTickets& tickets)
    : tickets_(tickets)
{
}

ScpiCompletion::State ScpiCompletion::check(const RemoteInstrument& instrument)
{
    // Without a supply nothing more will go out; what the link lost is told as such.
    if (!instrument.identified()) {
        return State::Complete;
    }
    for (const auto frame : {RemoteInstrument::Frame::Voltage, RemoteInstrument::Frame::Current}) {
        const std::optional<std::uint64_t> newest = tickets_.newest(frame);
        if (newest && instrument.lastWritten(frame) < *newest) {
            return State::Waiting;
        }
    }
    if (!writtenAt_) {
        writtenAt_ = instrument.pollsSeen();
    }
    if (instrument.outputReportedOn() == instrument.outputOn()) {
        return State::Complete;
    }
    return instrument.pollsSeen() - *writtenAt_ >= kOutputPolls ? State::OutputDidNotFollow : State::Waiting;
}
