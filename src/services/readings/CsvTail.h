#pragma once

#include <optional>
#include <string>
#include <string_view>

// The end of a recording about to be appended to: whether its last line was
// cut short, and where its elapsed_s stopped.
class CsvTail {
public:
    // Reads the last few kilobytes of the open file; an unreadable one counts as empty.
    explicit CsvTail(int fd);

    bool empty() const { return text_.empty(); }
    bool endsInNewline() const { return !text_.empty() && text_.back() == '\n'; }
    // The elapsed_s of the newest line whose field is whole; 0 without one.
    double lastElapsed() const;

    // The elapsed_s of one line, when it is a number followed by a comma.
    static std::optional<double> elapsedOf(std::string_view line);

private:
    // Longer than a few lines of the widest numbers.
    static constexpr long kTailBytes = 4096;

    std::string text_;
    bool wholeFile_ = false;
};
