#pragma once

#include <QString>

// Tells the desktop's notification service, where one runs on the session
// bus, without waiting for it; with no session bus it does nothing.
class DesktopNotifier {
public:
    static bool sessionBusAvailable();
    // False when there is no session bus to tell.
    static bool notify(const QString& summary, const QString& body);
};
