#pragma once

#include <optional>
#include <string>

// One thing the run does to the station or the supply, as a line of text:
// "+120 @ scpi VOLT 5;OUTP ON" waits 120 ms after the previous action, then
// acts inside the next reply's handling ('@'), before the worker's next turn.
struct Action {
    enum class Kind {
        TypeVoltage,
        TypeCurrent,
        PressOn,
        PressOff,
        TimerStart,
        TimerStop,
        TimerContinue,
        HotApply,
        Scpi,
        Mqtt,
        ProgramStart,
        ProgramPause,
        ProgramResume,
        ProgramStop,
        Protect,
        ProtectClear,
        Sim,
    };

    int gapMs = 0;
    bool atReply = false;
    Kind kind = Kind::Sim;
    std::string argument; // a value, a line, a payload or a program

    std::string text() const;
    static std::optional<Action> parse(const std::string& line);
    static const char* name(Kind kind);
};
