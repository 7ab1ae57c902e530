#include "station/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

constexpr int kAnswerTimeoutMs = 5000;

} // namespace

SleepInhibitor::SleepInhibitor(QString why, QObject* parent)
    : QObject(parent)
    , why_(std::move(why))
{
}

void SleepInhibitor::setWanted(bool wanted)
{
    if (wanted == wanted_) {
        return;
    }
    wanted_ = wanted;
    if (!wanted_ && holding()) {
        lock_ = QDBusUnixFileDescriptor();
        emit holdingChanged(false);
    }
    if (wanted_ && !asking_) {
        ask();
    }
}

void SleepInhibitor::ask()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("tendrel-controller") << why_ << QStringLiteral("block");
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *done;
        done->deleteLater();
        asking_ = false;
        answered(reply.isValid() ? reply.value() : QDBusUnixFileDescriptor());
    });
}

// Wanted no longer by the time the answer came: the lock is let go at once.
void SleepInhibitor::answered(const QDBusUnixFileDescriptor& lock)
{
    if (!wanted_ || !lock.isValid()) {
        return;
    }
    lock_ = lock;
    emit holdingChanged(true);
}
