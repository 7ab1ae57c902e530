#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// What one poll brought back, by what arrived.
enum class ReplyKind {
    NoAnswer, // no status, or a zero one
    StatusOnly, // a status and no words
    FullStatus, // a status and both words
    Incomplete, // a word was cut short
};

// The answer to one poll: the status byte, then each word as far as it came.
// A word cut short ends the answer and keeps the bytes it had.
struct Reply {
    Reply() = default;
    // As the worker collects it: status, then the words that came.
    Reply(std::int32_t status, std::optional<std::int32_t> voltageWord = std::nullopt,
        std::optional<std::int32_t> currentWord = std::nullopt)
        : status(status)
        , voltageWord(voltageWord)
        , currentWord(currentWord)
    {
    }

    std::int32_t status = 0;
    std::optional<std::int32_t> voltageWord;
    std::optional<std::int32_t> currentWord;

    // Every word that began arrived.
    bool whole() const { return voltageWord.has_value() == currentWord.has_value(); }
    ReplyKind kind() const;
    // The status and each word that came, in order, as the diagnostic log lists them.
    std::vector<std::int32_t> values() const;
};
