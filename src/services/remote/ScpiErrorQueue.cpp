#include "remote/ScpiErrorQueue.h"

void ScpiErrorQueue::push(ScpiError error)
{
    if (errors_.size() < kCapacity) {
        errors_.push_back(std::move(error));
        return;
    }
    errors_.back() = ScpiError::queueOverflow();
}

std::string ScpiErrorQueue::next()
{
    if (errors_.empty()) {
        return "0,\"No error\"";
    }
    std::string answer = errors_.front().answer();
    errors_.pop_front();
    return answer;
}
