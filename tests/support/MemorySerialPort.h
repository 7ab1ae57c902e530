#pragma once

#include "link/SerialPort.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
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
        std::chrono::milliseconds answerDelay{0}; // an answer arrives whole this long after its poll
        std::deque<std::uint8_t> input;
        std::deque<std::pair<std::chrono::steady_clock::time_point, Bytes>> onTheWay;
        std::vector<Bytes> writes;
        std::vector<std::string> opens;
        std::vector<std::string> failedOpens;
        int closes = 0;
        int discarded = 0; // bytes dropped by discardInput
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
    std::size_t waiting() override;
    void discardInput() override;

    static SerialPortFactory factory(std::shared_ptr<Line> line);

private:
    // Moves the answers that have arrived into the input; the line is locked.
    void receiveArrived();

    std::shared_ptr<Line> line_;
};
