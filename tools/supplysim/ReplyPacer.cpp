#include "ReplyPacer.h"

#include <algorithm>

void ReplyPacer::schedule(const std::vector<std::uint8_t>& bytes, Clock::time_point receivedAt)
{
    Clock::time_point due = std::max(receivedAt + kTurnaround, lineFreeAt_);
    for (const std::uint8_t byte : bytes) {
        pending_.push_back({byte, due});
        due += kByteTime;
    }
    if (!bytes.empty()) {
        lineFreeAt_ = due;
    }
}

std::optional<ReplyPacer::Clock::time_point> ReplyPacer::nextDue() const
{
    if (pending_.empty()) {
        return std::nullopt;
    }
    return pending_.front().due;
}

std::vector<std::uint8_t> ReplyPacer::takeDue(Clock::time_point now)
{
    std::vector<std::uint8_t> due;
    while (!pending_.empty() && pending_.front().due <= now) {
        due.push_back(pending_.front().byte);
        pending_.pop_front();
    }
    return due;
}

void ReplyPacer::clear()
{
    pending_.clear();
    lineFreeAt_ = {};
}
