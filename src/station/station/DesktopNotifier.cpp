#include "station/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

namespace {

constexpr unsigned char kCriticalUrgency = 2;

} // namespace

// Only a bus that is there already: without one, connecting could start a
// bus daemon of its own on a machine with no desktop.
bool DesktopNotifier::sessionBusAvailable()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        return true;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

bool DesktopNotifier::notify(const QString& summary, const QString& body)
{
    if (!sessionBusAvailable()) {
        return false;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"), QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(kCriticalUrgency)}};
    call << QStringLiteral("tendrel-controller") << 0U << QStringLiteral("tendrel-controller") << summary << body
         << QStringList() << hints << -1;
    return bus.send(call);
}
