#pragma once

#include <chrono>

// The worker's pace. The defaults are the supply's; tests shorten them.
struct LinkTiming {
    std::chrono::milliseconds afterOpen{100};
    std::chrono::milliseconds pause{200};
    std::chrono::milliseconds transmitWait{200};
    std::chrono::milliseconds afterCommand{100};
    // Rest after a whole round of ports that would not open, so that an
    // unplugged supply does not keep a core busy.
    std::chrono::milliseconds afterFailedRound{200};
};
