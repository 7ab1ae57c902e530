#pragma once

#include <cstdint>
#include <string>

// Numbers read from text exactly as the C library reads them in the "C"
// locale, whatever the user's locale.
class CNumber {
public:
    // Leading blanks, sign, digits, point, exponent; no number gives 0.
    static double toDouble(const std::string& text);
    // The leading decimal digits; none gives 0, too many the largest int.
    static int toInt(const std::string& text);
};
