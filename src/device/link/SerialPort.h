#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The few serial operations the link worker needs. Failures of anything but
// open are deliberately silent: a failed read is simply no data.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the named port for this program alone, 1200 baud 8N1, RTS raised.
    virtual bool open(const std::string& name) = 0;
    virtual void close() = 0;
    virtual void write(const std::uint8_t* data, std::size_t count) = 0;
    // Reads up to count bytes that arrive within about a millisecond per byte
    // plus one; returns how many were read.
    virtual std::size_t read(std::uint8_t* data, std::size_t count) = 0;
    // Bytes that have arrived and wait to be read, without waiting for more.
    virtual std::size_t waiting() = 0;
    // Drops every byte that has arrived and not been read.
    virtual void discardInput() = 0;
};

// Ports are made on the worker's own thread.
using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;
