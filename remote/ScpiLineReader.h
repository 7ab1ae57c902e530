#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Cuts a client's byte stream into lines ended by "\n" or "\r\n". It never
// holds more than one line's worth: a longer line is reported once and the
// rest of it, up to its end, is thrown away.
class ScpiLineReader {
public:
    using Lines = std::vector<std::optional<std::string>>;

    explicit ScpiLineReader(std::size_t maxLineLength);

    // The lines the bytes complete, in order; nullopt for each line that was too long.
    Lines feed(std::string_view bytes);

private:
    void append(std::string_view piece, Lines& lines);
    void endLine(Lines& lines);

    std::size_t maxLineLength_;
    std::string pending_;
    bool discarding_ = false;
};
