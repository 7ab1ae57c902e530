#include "remote/ScpiLineReader.h"

#include <utility>

ScpiLineReader::ScpiLineReader(std::size_t maxLineLength, std::size_t maxBlockLength)
    : maxLineLength_(maxLineLength)
    , maxBlockLength_(maxBlockLength)
{
}

ScpiLineReader::Lines ScpiLineReader::feed(std::string_view bytes)
{
    Lines lines;
    for (const char c : bytes) {
        if (!takeBlockByte(c, lines)) {
            takeTextByte(c, lines);
        }
    }
    return lines;
}

bool ScpiLineReader::takeBlockByte(char c, Lines& lines)
{
    if (dataLeft_ > 0) {
        --dataLeft_;
        keepBlock(c);
        return true;
    }
    const bool digit = c >= '0' && c <= '9';
    if (digitsLeft_ > 0 && digit) {
        blockLength_ = blockLength_ * 10 + static_cast<std::size_t>(c - '0');
        keep(c, lines);
        if (--digitsLeft_ == 0) {
            dataLeft_ = blockLength_;
            // All the line's blocks together.
            if (blockLength_ > maxBlockLength_ - blockBytes_) {
                overflow(lines);
            }
        }
        return true;
    }
    digitsLeft_ = 0;
    if (std::exchange(afterHash_, false) && digit && c != '0') {
        digitsLeft_ = static_cast<std::size_t>(c - '0');
        blockLength_ = 0;
        keep(c, lines);
        return true;
    }
    return false;
}

void ScpiLineReader::takeTextByte(char c, Lines& lines)
{
    if (c == '\n') {
        endLine(lines);
        return;
    }
    if (quote_ != 0) {
        quote_ = c == quote_ ? 0 : quote_;
    } else if (c == '"' || c == '\'') {
        quote_ = c;
    } else {
        afterHash_ = c == '#';
    }
    keep(c, lines);
}

void ScpiLineReader::keep(char c, Lines& lines)
{
    // One byte more than a line, for the '\r' of "\r\n".
    if (!discarding_ && pending_.size() - blockBytes_ >= maxLineLength_ + 1) {
        overflow(lines);
    }
    if (!discarding_) {
        pending_.push_back(c);
        lastInBlock_ = false;
    }
}

void ScpiLineReader::keepBlock(char c)
{
    if (!discarding_) {
        pending_.push_back(c);
        ++blockBytes_;
        lastInBlock_ = true;
    }
}

void ScpiLineReader::overflow(Lines& lines)
{
    if (!discarding_) {
        discarding_ = true;
        pending_.clear();
        blockBytes_ = 0;
        lines.emplace_back(std::nullopt);
    }
}

void ScpiLineReader::endLine(Lines& lines)
{
    if (!discarding_) {
        if (!lastInBlock_ && !pending_.empty() && pending_.back() == '\r') {
            pending_.pop_back();
        }
        if (pending_.size() - blockBytes_ > maxLineLength_) {
            lines.emplace_back(std::nullopt);
        } else {
            lines.emplace_back(std::move(pending_));
        }
    }
    pending_.clear();
    discarding_ = false;
    quote_ = 0;
    afterHash_ = false;
    digitsLeft_ = 0;
    blockBytes_ = 0;
    lastInBlock_ = false;
}
