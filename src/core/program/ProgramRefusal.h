#pragma once

#include "text/Phrase.h"

#include <QString>

// Why a program may not be loaded or started; step 0 means the whole program.
struct ProgramRefusal {
    ProgramRefusal(int at, const Phrase& refusal)
        : step(at)
        , why(refusal)
        , reason(refusal.inWindow())
    {
    }

    int step = 0;
    Phrase why;
    QString reason; // `why` in the window's words
};
