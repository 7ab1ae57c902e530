#pragma once

#include <cstdint>

// Who asked for a command: the program pauses for any that is not its own.
struct CommandOrigin {
    enum class Kind { User, Timer, Remote, Program, Protection };

    Kind kind = Kind::User;
    // The remote client that asked; 0 for any other kind.
    std::uint64_t client = 0;

    bool operator==(const CommandOrigin&) const = default;
};
