#include "remote/ScpiBlock.h"

std::optional<std::size_t> ScpiBlock::span(std::string_view text)
{
    if (text.size() < 2 || text[0] != '#' || text[1] < '1' || text[1] > '9') {
        return std::nullopt;
    }
    const auto digits = static_cast<std::size_t>(text[1] - '0');
    if (text.size() < 2 + digits) {
        return std::nullopt;
    }
    std::size_t length = 0;
    for (const char c : text.substr(2, digits)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    // Nine digits cannot overflow; the data must all be there.
    if (text.size() - 2 - digits < length) {
        return std::nullopt;
    }
    return 2 + digits + length;
}

std::optional<std::string_view> ScpiBlock::data(std::string_view parameter)
{
    const auto whole = span(parameter);
    if (!whole || *whole != parameter.size()) {
        return std::nullopt;
    }
    const auto digits = static_cast<std::size_t>(parameter[1] - '0');
    return parameter.substr(2 + digits);
}
