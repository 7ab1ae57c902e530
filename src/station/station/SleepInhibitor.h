#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

// Holds the login manager's lock against sleep while wanted, so that the
// computer does not suspend in the middle of a run. Asked for without
// waiting; where there is no system bus or no login manager nothing happens.
class SleepInhibitor final : public QObject {
    Q_OBJECT

public:
    explicit SleepInhibitor(QString why, QObject* parent = nullptr);

    void setWanted(bool wanted);
    bool holding() const { return lock_.isValid(); }

signals:
    void holdingChanged(bool holding);

private:
    void ask();
    void answered(const QDBusUnixFileDescriptor& lock);

    QString why_;
    bool wanted_ = false;
    bool asking_ = false;
    // The lock lasts as long as its descriptor stays open.
    QDBusUnixFileDescriptor lock_;
};
