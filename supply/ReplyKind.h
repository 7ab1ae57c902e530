#pragma once

#include <cstdint>
#include <vector>

// What one poll brought back, by the number of values the worker collected.
enum class ReplyKind {
    NoAnswer, // [0]
    StatusOnly, // [status]
    FullStatus, // [status, voltage word, current word]
    Incomplete, // anything else: a word was cut short
};

ReplyKind classifyReply(const std::vector<std::int32_t>& values);

// The model code of a status byte: its output bit removed.
int statusModelCode(std::int32_t status);
bool statusOutputOn(std::int32_t status);
