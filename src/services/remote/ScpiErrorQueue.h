#pragma once

#include "remote/ScpiError.h"

#include <cstddef>
#include <deque>

// A client's error queue, oldest first. When it is full the newest entry
// becomes -350 and further errors are lost until one is read.
class ScpiErrorQueue {
public:
    static constexpr std::size_t kCapacity = 16;

    void push(ScpiError error);
    // The oldest error, or 0,"No error".
    std::string next();
    void clear() { errors_.clear(); }
    bool empty() const { return errors_.empty(); }
    std::size_t size() const { return errors_.size(); }

private:
    std::deque<ScpiError> errors_;
};
