#include "remote/ScpiTickets.h"

void ScpiTickets::record(const RemoteInstrument& instrument, Frame frame)
{
    if (const auto index = indexOf(frame)) {
        newest_.at(*index) = instrument.lastTicket(frame);
    }
}

std::optional<std::uint64_t> ScpiTickets::newest(Frame frame) const
{
    const auto index = indexOf(frame);
    return index ? newest_.at(*index) : std::nullopt;
}

bool ScpiTickets::among(Frame frame, std::uint64_t first, std::uint64_t last) const
{
    const auto index = indexOf(frame);
    if (!index) {
        return false;
    }
    const std::optional<std::uint64_t>& newest = newest_.at(*index);
    return newest && *newest >= first && *newest <= last;
}

std::optional<std::size_t> ScpiTickets::indexOf(Frame frame)
{
    switch (frame) {
    case Frame::Voltage:
        return 0;
    case Frame::Current:
        return 1;
    }
    return std::nullopt;
}
