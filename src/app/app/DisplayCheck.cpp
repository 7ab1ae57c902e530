#include "app/DisplayCheck.h"

#include <QByteArray>
#include <QtGlobal>

#include <string_view>

std::optional<std::string> DisplayCheck::problem(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") {
            return std::nullopt;
        }
    }
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    const bool x11 = chosen.isEmpty() || chosen.startsWith("xcb");
    const bool wayland = chosen.isEmpty() || chosen.startsWith("wayland");
    if (!x11 && !wayland) {
        return std::nullopt; // offscreen, vnc and the like need no display
    }
    if ((x11 && !qEnvironmentVariableIsEmpty("DISPLAY"))
        || (wayland && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))) {
        return std::nullopt;
    }
    return std::string("no display found (DISPLAY and WAYLAND_DISPLAY are not set), so no window can open; "
                       "--headless runs without one\n");
}
