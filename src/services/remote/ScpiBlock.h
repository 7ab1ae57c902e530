#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// A definite-length arbitrary block, as drivers send binary or file data:
// '#', a digit n from 1 to 9, n digits giving the length, then that many
// bytes, which may hold anything, newlines, quotes and separators included.
class ScpiBlock {
public:
    // The whole block's length when one, complete, starts `text`.
    static std::optional<std::size_t> span(std::string_view text);
    // The data of a parameter that is exactly one block.
    static std::optional<std::string_view> data(std::string_view parameter);
};
