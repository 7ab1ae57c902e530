#include "remote/ScpiTickets.h"

void ScpiTickets::record(const RemoteInstrument& instrument, Frame frame)
{
    if (auto* newest = slot(frame)) {
        *newest = instrument.lastTicket(frame);
    }
}

bool ScpiTickets::lost(Frame frame, std::uint64_t first, std::uint64_t last)
{
    auto* newest = slot(frame);
    if (newest == nullptr || !*newest || **newest < first || **newest > last) {
        return false;
    }
    newest->reset();
    return true;
}

std::optional<std::uint64_t>* ScpiTickets::slot(Frame frame)
{
    switch (frame) {
    case Frame::Voltage:
        return &voltage_;
    case Frame::Current:
        return &current_;
    }
    return nullptr;
}
