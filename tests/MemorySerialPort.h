#pragma once

#include "link/SerialPort.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// An in-memory line for the worker's tests: each poll byte written queues the
// next scripted answer, and every write is recorded.
class MemorySerialPort final : public SerialPort {
public:
    using Bytes = std::vector<std::uint8_t>;

    struct Line {
        std::mutex mutex;
        std::set<std::string> openable; // empty: every name opens
        std::deque<Bytes> answers; // one per poll byte written; none left: silence
        std::function<Bytes()> answerer; // used instead of answers when set
        std::deque<std::uint8_t> input;
        std::vector<Bytes> writes;
        std::vector<std::string> opens;
        std::vector<std::string> failedOpens;
        int closes = 0;
        // Runs after each write, outside the lock, on the worker's thread.
        std::function<void(const Bytes&)> afterWrite;

        std::vector<Bytes> writesCopy();
        std::vector<std::string> opensCopy();
    };

    explicit MemorySerialPort(std::shared_ptr<Line> line);

    bool open(const std::string& name) override;
    void close() override;
    void write(const std::uint8_t* data, std::size_t count) override;
    std::size_t read(std::uint8_t* data, std::size_t count) override;

    static SerialPortFactory factory(std::shared_ptr<Line> line);

private:
    std::shared_ptr<Line> line_;
};
