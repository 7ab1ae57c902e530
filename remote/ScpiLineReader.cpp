#include "remote/ScpiLineReader.h"

ScpiLineReader::ScpiLineReader(std::size_t maxLineLength)
    : maxLineLength_(maxLineLength)
{
}

ScpiLineReader::Lines ScpiLineReader::feed(std::string_view bytes)
{
    Lines lines;
    for (;;) {
        const std::size_t end = bytes.find('\n');
        append(bytes.substr(0, end), lines);
        if (end == std::string_view::npos) {
            return lines;
        }
        endLine(lines);
        bytes.remove_prefix(end + 1);
    }
}

void ScpiLineReader::append(std::string_view piece, Lines& lines)
{
    if (discarding_) {
        return;
    }
    // One byte more than a line, for the '\r' of "\r\n".
    if (pending_.size() + piece.size() > maxLineLength_ + 1) {
        discarding_ = true;
        pending_.clear();
        lines.emplace_back(std::nullopt);
        return;
    }
    pending_.append(piece);
}

void ScpiLineReader::endLine(Lines& lines)
{
    if (!discarding_) {
        if (!pending_.empty() && pending_.back() == '\r') {
            pending_.pop_back();
        }
        if (pending_.size() > maxLineLength_) {
            lines.emplace_back(std::nullopt);
        } else {
            lines.emplace_back(std::move(pending_));
        }
    }
    pending_.clear();
    discarding_ = false;
}
