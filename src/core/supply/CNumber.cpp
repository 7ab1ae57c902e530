#include "supply/CNumber.h"

#include <climits>
#include <clocale>
#include <cstdlib>

double CNumber::toDouble(const std::string& text)
{
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
    return ::strtod_l(text.c_str(), nullptr, cLocale);
}

int CNumber::toInt(const std::string& text)
{
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > INT_MAX) {
            return INT_MAX;
        }
    }
    return static_cast<int>(value);
}
