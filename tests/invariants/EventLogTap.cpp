#include "EventLogTap.h"

#include "RunTrace.h"

EventLogTap::int_type EventLogTap::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char character = traits_type::to_char_type(c);
    if (character != '\n') {
        partial_.push_back(character);
        return c;
    }
    lines_.push_back({Clock::now(), partial_});
    RunTrace::instance().write(lines_.back().at, "events", partial_);
    partial_.clear();
    ++written_;
    if (lines_.size() > kKept) {
        lines_.pop_front();
    }
    return c;
}

bool EventLogTap::toldSince(std::size_t mark, const std::string& text) const
{
    const std::size_t fresh = written_ - mark;
    for (std::size_t i = 0; i < fresh && i < lines_.size(); ++i) {
        if (lines_[lines_.size() - 1 - i].text.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::deque<EventLogTap::Line> EventLogTap::recent(std::size_t count) const
{
    std::deque<Line> tail;
    for (std::size_t i = lines_.size() > count ? lines_.size() - count : 0; i < lines_.size(); ++i) {
        tail.push_back(lines_[i]);
    }
    return tail;
}
