#pragma once

#include "Moment.h"

#include <cstddef>
#include <deque>
#include <ostream>
#include <streambuf>
#include <string>

// The stream the station's event log writes to: it keeps each line with the
// moment it was written, so that the checks read what the log told.
class EventLogTap final : public std::streambuf {
public:
    struct Line {
        Moment at;
        std::string text;
    };

    EventLogTap() = default;
    EventLogTap(const EventLogTap&) = delete;
    EventLogTap& operator=(const EventLogTap&) = delete;

    std::ostream& stream() { return stream_; }
    // Lines written so far, counting those no longer kept.
    std::size_t written() const { return written_; }
    // Whether a line written since `mark` (a value of written()) holds the text.
    bool toldSince(std::size_t mark, const std::string& text) const;
    std::deque<Line> recent(std::size_t count) const;

protected:
    int_type overflow(int_type c) override;

private:
    static constexpr std::size_t kKept = 400;

    std::string partial_;
    std::deque<Line> lines_;
    std::size_t written_ = 0;
    std::ostream stream_{this};
};
