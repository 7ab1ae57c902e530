#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// Holds answer bytes back until a 1200-baud line would have carried them: the supply
// turns around after a short pause, then each byte takes its ten bit times.
class ReplyPacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::microseconds kTurnaround{8000};
    static constexpr std::chrono::microseconds kByteTime{8333};

    // Queues an answer to a frame received at receivedAt, behind anything still queued.
    void schedule(const std::vector<std::uint8_t>& bytes, Clock::time_point receivedAt);

    std::optional<Clock::time_point> nextDue() const;
    std::vector<std::uint8_t> takeDue(Clock::time_point now);
    void clear();

private:
    struct Pending {
        std::uint8_t byte;
        Clock::time_point due;
    };

    std::deque<Pending> pending_;
    Clock::time_point lineFreeAt_{};
};
