#pragma once

#include "link/SerialPort.h"

#include <QSerialPort>

// SerialPort on QSerialPort: real devices (ttyUSB, ttyACM, ttyS) and pseudo-terminals.
class QtSerialPort final : public SerialPort {
public:
    bool open(const std::string& name) override;
    void close() override;
    void write(const std::uint8_t* data, std::size_t count) override;
    std::size_t read(std::uint8_t* data, std::size_t count) override;
    std::size_t waiting() override;
    void discardInput() override;

    static SerialPortFactory factory();
    // The device a name opens, as QSerialPort resolves it: a path (from '/',
    // './' or '../') as it is, any other name under /dev ("pts/0" too).
    static std::string devicePath(const std::string& name);

private:
    void configureLine();

    QSerialPort port_;
};
