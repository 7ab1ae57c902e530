#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// The controller's end of the line, reduced to what the tests need: a raw,
// non-blocking descriptor to the simulator's slave device.
class SimTestPort {
public:
    static constexpr std::chrono::milliseconds kAnswerTimeout{1000};

    explicit SimTestPort(const std::string& path);
    ~SimTestPort();
    SimTestPort(const SimTestPort&) = delete;
    SimTestPort& operator=(const SimTestPort&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void send(const std::vector<std::uint8_t>& bytes) const;
    // Returns once count bytes have arrived or the timeout has passed.
    std::vector<std::uint8_t> receive(std::size_t count, std::chrono::milliseconds timeout) const;
    // Sends a poll and waits for an answer of the expected length.
    std::vector<std::uint8_t> poll(std::size_t answerLength = 5) const;

private:
    int fd_ = -1;
};
