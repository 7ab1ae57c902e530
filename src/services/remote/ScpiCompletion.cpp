#include "remote/ScpiCompletion.h"

ScpiCompletion::ScpiCompletion(const std::vector<ScpiTickets>& tickets)
{
    for (const ScpiTickets& each : tickets) {
        channels_.push_back({each, std::nullopt, State::Waiting});
    }
}

ScpiCompletion::State ScpiCompletion::check(const RemoteChannels& channels)
{
    State state = State::Complete;
    for (std::size_t i = 0; i < channels_.size(); ++i) {
        Channel& channel = channels_[i];
        if (channel.state == State::Waiting) {
            channel.state = checkChannel(channel, channels.at(i + 1));
        }
        if (channel.state == State::Waiting) {
            state = State::Waiting;
        } else if (channel.state == State::OutputDidNotFollow && state == State::Complete) {
            state = State::OutputDidNotFollow;
        }
    }
    return state;
}

ScpiCompletion::State ScpiCompletion::checkChannel(Channel& channel, const RemoteInstrument& instrument)
{
    // Without a supply nothing more will go out; what the link lost is told as such.
    if (!instrument.identified()) {
        return State::Complete;
    }
    for (const auto frame : {Quantity::Voltage, Quantity::Current}) {
        const std::optional<std::uint64_t> newest = channel.tickets.newest(frame);
        if (newest && instrument.lastWritten(frame) < *newest) {
            return State::Waiting;
        }
    }
    if (!channel.writtenAt) {
        channel.writtenAt = instrument.pollsSeen();
    }
    if (instrument.outputReportedOn() == instrument.outputOn()) {
        return State::Complete;
    }
    return instrument.pollsSeen() - *channel.writtenAt >= kOutputPolls ? State::OutputDidNotFollow : State::Waiting;
}
