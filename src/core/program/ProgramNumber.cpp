#include "program/ProgramNumber.h"

#include <charconv>
#include <cmath>
#include <iterator>

std::string ProgramNumber::text(double value)
{
    // Wide enough for any double in plain digits.
    char text[400];
    const double size = std::fabs(value);
    const bool plain = size == 0.0 || (size >= 1e-4 && size < 1e15);
    const auto result = plain ? std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed)
                              : std::to_chars(std::begin(text), std::end(text), value);
    return {std::begin(text), result.ptr};
}
