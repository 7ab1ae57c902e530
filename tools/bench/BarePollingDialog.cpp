// The least a Qt Widgets program does to poll the supply as the controller does:
// the baseline the controller's footprint is measured against. It takes only the
// poll byte from the protocol's header and links none of the controller's code,
// so that it loads no library a bare dialog would not.
#include "supply/WireProtocol.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QSerialPort>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdint>

namespace {

// The controller's pause after an answer plus its wait for commands.
constexpr int kPollIntervalMs = 400;
// A status byte, then voltage and current as 16-bit words.
constexpr qsizetype kAnswerBytes = 5;

QString portName(const QStringList& arguments)
{
    if (arguments.size() > 1) {
        return arguments.at(1);
    }
    return qEnvironmentVariable("TENDREL_SERIAL_PORTS").section(QLatin1Char(':'), 0, 0);
}

bool openLine(QSerialPort& port, const QString& name)
{
    port.setPortName(name);
    if (!port.open(QIODevice::ReadWrite)) {
        return false;
    }
    // As the controller sets it; a pseudo-terminal refuses some of it and works anyway.
    port.setBaudRate(QSerialPort::Baud1200);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setRequestToSend(true);
    port.clearError();
    return true;
}

void poll(QSerialPort& port)
{
    const char byte = static_cast<char>(WireProtocol::kPollByte);
    port.write(&byte, 1);
}

int littleEndianWord(const QByteArray& bytes, qsizetype at)
{
    return static_cast<std::uint8_t>(bytes.at(at)) | static_cast<std::uint8_t>(bytes.at(at + 1)) << 8;
}

// Anything but a whole answer is dropped, as the controller drops what is left
// over before its next poll.
void showAnswer(const QByteArray& answer, QLabel& voltage, QLabel& current)
{
    if (answer.size() != kAnswerBytes) {
        return;
    }
    voltage.setText(QStringLiteral("U: %1").arg(littleEndianWord(answer, 1)));
    current.setText(QStringLiteral("I: %1").arg(littleEndianWord(answer, 3)));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QSerialPort port;
    if (!openLine(port, portName(QApplication::arguments()))) {
        return 1;
    }
    poll(port);

    QDialog dialog;
    auto* voltage = new QLabel(QStringLiteral("U: -"), &dialog);
    auto* current = new QLabel(QStringLiteral("I: -"), &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(voltage);
    layout->addWidget(current);
    dialog.show();

    // The answer to each poll is read just before the next one goes out.
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&port, voltage, current] {
        showAnswer(port.readAll(), *voltage, *current);
        poll(port);
    });
    timer.start(kPollIntervalMs);
    return QApplication::exec();
}
