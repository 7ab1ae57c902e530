#pragma once

#include "app/CommandLine.h"

// The supply side alone, with no display: the supplies, and whatever the
// command line or the settings ask for to control or observe them, until
// SIGTERM or SIGINT ends it cleanly.
class HeadlessRun {
public:
    static constexpr int kNothingToDo = CommandLine::kUsageError;
    static constexpr int kNoPorts = 1;

    static int run(const CommandLine::Parsed& options, int argc, char** argv);
};
