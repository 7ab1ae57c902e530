#include "remote/ScpiTickets.h"

void ScpiTickets::record(const RemoteInstrument& instrument, Quantity frame)
{
    if (const auto index = indexOf(frame)) {
        newest_.at(*index) = instrument.lastTicket(frame);
    }
}

std::optional<std::uint64_t> ScpiTickets::newest(Quantity frame) const
{
    const auto index = indexOf(frame);
    return index ? newest_.at(*index) : std::nullopt;
}

bool ScpiTickets::among(Quantity frame, std::uint64_t first, std::uint64_t last) const
{
    const auto index = indexOf(frame);
    if (!index) {
        return false;
    }
    const std::optional<std::uint64_t>& newest = newest_.at(*index);
    return newest && *newest >= first && *newest <= last;
}

std::optional<std::size_t> ScpiTickets::indexOf(Quantity frame)
{
    switch (frame) {
    case Quantity::Voltage:
        return 0;
    case Quantity::Current:
        return 1;
    }
    return std::nullopt;
}
