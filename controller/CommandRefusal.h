#pragma once

// Why the one command path did not take a command; each origin tells it in
// its own words where it looks.
enum class CommandRefusal {
    // No supply is identified on the line: no frame may go out.
    NoSupply,
    // A protection trip is latched: the output stays off until it is cleared.
    TripLatched,
};
