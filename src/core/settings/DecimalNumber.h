#pragma once

#include <cstddef>
#include <string>

// A number of the settings file: leading blanks, a sign, digits, a point,
// digits and a decimal exponent. Reading stops at the first other character,
// so hexadecimal, "inf" and "nan" are not numbers; no number reads as 0.
class DecimalNumber {
public:
    static double read(const std::string& text);

private:
    // The length of the number at the start of text, 0 when there is none.
    static std::size_t lengthOf(const std::string& text, std::size_t begin);
};
