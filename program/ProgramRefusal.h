#pragma once

#include <QString>

// Why a program may not be loaded or started; step 0 means the whole program.
struct ProgramRefusal {
    int step = 0;
    QString reason;
};
