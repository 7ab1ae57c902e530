#pragma once

#include "program/Program.h"
#include "program/ProtectionLimits.h"

#include <string>

// The programs and limits of actions, read back from their text (see ActionDraw).
class ActionArgument {
public:
    // "stop;2.0/1.5/on/600;3.0/-/-/400"
    static Program program(const std::string& text);
    // "V=3.0 A=- W=20"
    static ProtectionLimits limits(const std::string& text);

private:
    static ProgramStep step(const std::string& text);
};
