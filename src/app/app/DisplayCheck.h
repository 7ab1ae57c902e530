#pragma once

#include <optional>
#include <string>

// Qt aborts when the window has no display to open on; this finds that out
// first, from the environment, so that the user is told what to do instead.
class DisplayCheck {
public:
    // Why no window can open, or nothing when one may. `arguments` are the
    // program's own: a -platform among them chooses for itself.
    static std::optional<std::string> problem(int argc, char** argv);
};
