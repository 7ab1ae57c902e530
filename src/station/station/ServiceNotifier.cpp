#include "station/ServiceNotifier.h"

#include <systemd/sd-daemon.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

ServiceNotifier::ServiceNotifier(QObject* parent)
    : QObject(parent)
{
    std::uint64_t intervalUs = 0;
    if (sd_watchdog_enabled(0, &intervalUs) <= 0) {
        return;
    }
    // Twice per interval, so that one late ping does not cost a restart.
    const auto half = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::microseconds(intervalUs / 2));
    watchdog_.setInterval(std::max(half, std::chrono::milliseconds(1)));
    connect(&watchdog_, &QTimer::timeout, this, [] { notify("WATCHDOG=1"); });
    watchdog_.start();
}

void ServiceNotifier::ready(const QString& status)
{
    notify("READY=1\n" + statusLine(status));
}

void ServiceNotifier::status(const QString& status)
{
    notify(statusLine(status));
}

void ServiceNotifier::stopping()
{
    notify("STOPPING=1");
}

// The environment is kept, so that every later message still finds the socket.
void ServiceNotifier::notify(const QByteArray& state)
{
    sd_notify(0, state.constData());
}

// One line per variable: a line break would start another one.
QByteArray ServiceNotifier::statusLine(const QString& status)
{
    QString line = status;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return "STATUS=" + line.toUtf8();
}
