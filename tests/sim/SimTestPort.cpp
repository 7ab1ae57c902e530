#include "SimTestPort.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

SimTestPort::SimTestPort(const std::string& path)
    : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    termios settings{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(fd_, TCSANOW, &settings);
    }
}

SimTestPort::~SimTestPort()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void SimTestPort::send(const std::vector<std::uint8_t>& bytes) const
{
    [[maybe_unused]] const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
}

std::vector<std::uint8_t> SimTestPort::receive(std::size_t count, std::chrono::milliseconds timeout) const
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd fd{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        std::uint8_t byte = 0;
        if (::read(fd_, &byte, 1) != 1) {
            break;
        }
        bytes.push_back(byte);
    }
    return bytes;
}

std::vector<std::uint8_t> SimTestPort::poll(std::size_t answerLength) const
{
    send({100});
    return receive(answerLength, kAnswerTimeout);
}
