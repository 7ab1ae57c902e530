#pragma once

#include "remote/RemoteInstrument.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// A session's newest accepted command on each frame. Commands the link loses
// are the newest ones of their frame, so the newest alone tells whether any
// of the session's own were among them.
class ScpiTickets {
public:
    // The command just accepted on the frame.
    void record(const RemoteInstrument& instrument, Quantity frame);
    std::optional<std::uint64_t> newest(Quantity frame) const;
    // True when the newest command on the frame is among first..last.
    bool among(Quantity frame, std::uint64_t first, std::uint64_t last) const;

private:
    // None for a value that is no frame.
    static std::optional<std::size_t> indexOf(Quantity frame);

    std::array<std::optional<std::uint64_t>, 2> newest_;
};
