#pragma once

#include "Moment.h"

#include <string>

// One line of the simulated supply's frame log: a frame it received, or a
// change made at its console, with the moment it was logged and the state of
// its output around it.
struct SimEvent {
    enum class Kind { Poll, Voltage, Toggle, Current, OtherModel, Garbage, Change };
    // What the supply did with a command frame.
    enum class Fate { Applied, PanelSwitch, Silent };

    Kind kind = Kind::Change;
    Moment at;
    std::string text;
    int code = -1;
    int raw = 0;
    Fate fate = Fate::Applied;
    bool outputBefore = false;
    bool outputAfter = false;
    // The output moved, or may have, with no frame: its own switch, power, a pulled cable.
    bool supplySide = false;

    bool command() const
    {
        return kind == Kind::Voltage || kind == Kind::Toggle || kind == Kind::Current || kind == Kind::OtherModel;
    }
    // A frame that carries a voltage, with or without a toggle.
    bool carriesVoltage() const { return kind == Kind::Voltage || kind == Kind::Toggle; }
};
