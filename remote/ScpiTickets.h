#pragma once

#include "remote/RemoteInstrument.h"

#include <cstdint>
#include <optional>

// A session's newest accepted command on each frame. Commands the link loses
// are the newest ones of their frame, so the newest alone tells whether any
// of the session's own were among them.
class ScpiTickets {
public:
    using Frame = RemoteInstrument::Frame;

    // The command just accepted on the frame.
    void record(const RemoteInstrument& instrument, Frame frame);
    // True, and forgotten, when the newest command on the frame is in first..last.
    bool lost(Frame frame, std::uint64_t first, std::uint64_t last);

private:
    std::optional<std::uint64_t>* slot(Frame frame);

    std::optional<std::uint64_t> voltage_;
    std::optional<std::uint64_t> current_;
};
