#pragma once

#include "CheckSelection.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a run of the program does, from the environment, which a flag of the
// same name in lower case overrides ("--seconds=600" for TENDREL_INVARIANT_SECONDS):
//   TENDREL_INVARIANT_SEEDS          seeds to run, "1,2,3"; new ones when unset
//   TENDREL_INVARIANT_SEED_COUNT     how many new seeds (3)
//   TENDREL_INVARIANT_SECONDS        each seed's run at most (40)
//   TENDREL_INVARIANT_CHECKS         the checks enforced ("all"; "1,2,5/scpi", "all,-5/truth")
//   TENDREL_INVARIANT_ACTIONS        replays the list in this file instead of a seed's
//   TENDREL_INVARIANT_SHRINK_SECONDS time to shrink each failing check (120; 0: none)
//   TENDREL_INVARIANT_SHRINK         "enabled" shrinks the enforced checks only, "all" every one seen
//   TENDREL_INVARIANT_PACE           the link's pause and wait between polls, in ms (100)
//   TENDREL_INVARIANT_MQTT           0 leaves MQTT out
//   TENDREL_INVARIANT_OUT            a directory for the failing and shrunk lists
//   TENDREL_INVARIANT_TRACE          1 writes each seed's whole run there too (RunTrace)
struct RunOptions {
    std::vector<std::uint64_t> seeds;
    std::chrono::seconds seconds{40};
    CheckSelection checks = CheckSelection::parse("all");
    std::optional<std::string> actionsFile;
    std::chrono::seconds shrinkSeconds{120};
    bool shrinkAll = false;
    std::chrono::milliseconds pace{100};
    bool mqtt = true;
    std::string outDirectory;
    bool trace = false;

    static RunOptions read(int argc, char** argv);
    std::string describe() const;

private:
    static std::optional<std::string> value(int argc, char** argv, const char* name);
    static std::vector<std::uint64_t> seedsFrom(const std::optional<std::string>& list, int count);
};
