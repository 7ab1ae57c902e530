#include "app/DisplayCheck.h"

#include <cstdlib>
#include <string_view>

namespace {

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

std::optional<std::string> DisplayCheck::problem(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") {
            return std::nullopt;
        }
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string_view chosen = platform != nullptr ? platform : "";
    const bool x11 = chosen.empty() || chosen.starts_with("xcb");
    const bool wayland = chosen.empty() || chosen.starts_with("wayland");
    if (!x11 && !wayland) {
        return std::nullopt; // offscreen, vnc and the like need no display
    }
    if ((x11 && isSet("DISPLAY")) || (wayland && isSet("WAYLAND_DISPLAY"))) {
        return std::nullopt;
    }
    return std::string("no display found (DISPLAY and WAYLAND_DISPLAY are not set), so no window can open; "
                       "--headless runs without one\n");
}
