#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Tells systemd how the service stands: when it is ready, what it is doing,
// that it is stopping, and, while the event loop of the thread it lives on
// still turns, that it is alive. A loop that hangs stops the pings and lets
// systemd restart the service. Outside systemd every call does nothing.
class ServiceNotifier final : public QObject {
    Q_OBJECT

public:
    explicit ServiceNotifier(QObject* parent = nullptr);

    void ready(const QString& status);
    void status(const QString& status);
    void stopping();

private:
    static void notify(const QByteArray& state);
    static QByteArray statusLine(const QString& status);

    // A child, so that it moves with the notifier to another thread.
    QTimer watchdog_{this};
};
