#include "link/QtSerialPort.h"

#include "link/PortAccessAdvice.h"

#include <QDeadlineTimer>
#include <QString>

#include <algorithm>

namespace {

// Mirrors the line's read time-outs: 1 ms per byte plus 1 ms.
int readBudgetMs(std::size_t count)
{
    return static_cast<int>(count) + 1;
}

} // namespace

bool QtSerialPort::open(const std::string& name)
{
    port_.setPortName(QString::fromStdString(name));
    if (!port_.open(QIODevice::ReadWrite)) {
        port_.clearError();
        PortAccessAdvice::instance().portDidNotOpen(devicePath(name));
        return false;
    }
    configureLine();
    return true;
}

std::string QtSerialPort::devicePath(const std::string& name)
{
    if (name.starts_with('/') || name.starts_with("./") || name.starts_with("../")) {
        return name;
    }
    return "/dev/" + name;
}

void QtSerialPort::configureLine()
{
    // Some devices (pseudo-terminals among them) refuse a setting; the link
    // works without it.
    port_.setBaudRate(QSerialPort::Baud1200);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setRequestToSend(true);
    port_.clearError();
}

void QtSerialPort::close()
{
    port_.close();
    port_.clearError();
}

void QtSerialPort::write(const std::uint8_t* data, std::size_t count)
{
    if (!port_.isOpen()) {
        return;
    }
    port_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(count));
    while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(100)) { }
}

std::size_t QtSerialPort::read(std::uint8_t* data, std::size_t count)
{
    if (!port_.isOpen()) {
        return 0;
    }
    const QDeadlineTimer deadline(readBudgetMs(count));
    std::size_t received = 0;
    // A worker that was not scheduled until its time had passed still takes
    // in what the device holds: an answer waiting there is not a miss.
    bool lastLook = false;
    while (received < count) {
        const qint64 got = port_.read(reinterpret_cast<char*>(data + received), static_cast<qint64>(count - received));
        if (got > 0) {
            received += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 || lastLook) {
            break;
        }
        lastLook = deadline.hasExpired();
        if (!port_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            break;
        }
    }
    port_.clearError();
    return received;
}

std::size_t QtSerialPort::waiting()
{
    if (!port_.isOpen()) {
        return 0;
    }
    // Takes in what the device holds without waiting for anything new.
    port_.waitForReadyRead(0);
    port_.clearError();
    return static_cast<std::size_t>(std::max<qint64>(port_.bytesAvailable(), 0));
}

void QtSerialPort::discardInput()
{
    if (!port_.isOpen()) {
        return;
    }
    port_.clear(QSerialPort::Input);
    port_.clearError();
}

SerialPortFactory QtSerialPort::factory()
{
    return [] { return std::make_unique<QtSerialPort>(); };
}
