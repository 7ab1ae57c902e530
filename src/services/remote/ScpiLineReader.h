#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Cuts a client's byte stream into lines ended by "\n" or "\r\n". A
// definite-length block (#, n, n digits of length, the data) is taken whole,
// newlines and all. It never holds more than one line's worth: a line whose
// text outside the blocks' data is longer than maxLineLength, or whose
// blocks' data together are longer than maxBlockLength, is reported once and
// the rest of it, up to its end, is thrown away.
class ScpiLineReader {
public:
    using Lines = std::vector<std::optional<std::string>>;

    explicit ScpiLineReader(std::size_t maxLineLength, std::size_t maxBlockLength = 0);

    // The lines the bytes complete, in order; nullopt for each line that was too long.
    Lines feed(std::string_view bytes);

private:
    // True when the byte belonged to a block's header or data.
    bool takeBlockByte(char c, Lines& lines);
    void takeTextByte(char c, Lines& lines);
    void keep(char c, Lines& lines);
    void keepBlock(char c);
    void overflow(Lines& lines);
    void endLine(Lines& lines);

    std::size_t maxLineLength_;
    std::size_t maxBlockLength_;
    std::string pending_;
    bool discarding_ = false;
    char quote_ = 0;
    bool afterHash_ = false;
    std::size_t digitsLeft_ = 0;
    std::size_t blockLength_ = 0;
    std::size_t dataLeft_ = 0;
    // The line's bytes of block data, which its length does not count.
    std::size_t blockBytes_ = 0;
    // A '\r' that a block ends with is data, not half of "\r\n".
    bool lastInBlock_ = false;
};
