#pragma once

// Why the one command path did not take a command; each origin tells it in
// its own words where it looks.
enum class CommandRefusal {
    // No supply is identified on the line: no frame may go out.
    NoSupply,
    // A protection trip is latched: the output stays off until it is cleared.
    TripLatched,
    // The supply answers with its status alone: its On/Off switch is on and
    // it ignores every frame until the switch is off again.
    PanelSwitch,
};
