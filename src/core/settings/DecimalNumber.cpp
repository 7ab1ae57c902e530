#include "settings/DecimalNumber.h"

#include <clocale>
#include <cstdlib>

namespace {

bool isDigit(const std::string& text, std::size_t at)
{
    return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

std::size_t skipDigits(const std::string& text, std::size_t at)
{
    while (isDigit(text, at)) {
        ++at;
    }
    return at;
}

bool isSign(const std::string& text, std::size_t at)
{
    return at < text.size() && (text[at] == '+' || text[at] == '-');
}

} // namespace

double DecimalNumber::read(const std::string& text)
{
    const std::size_t begin = text.find_first_not_of(" \t\n\v\f\r");
    if (begin == std::string::npos) {
        return 0.0;
    }
    const std::size_t length = lengthOf(text, begin);
    if (length == 0) {
        return 0.0;
    }
    // Only decimal characters reach the C library, which rounds them exactly.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
    return ::strtod_l(text.substr(begin, length).c_str(), nullptr, cLocale);
}

std::size_t DecimalNumber::lengthOf(const std::string& text, std::size_t begin)
{
    std::size_t at = isSign(text, begin) ? begin + 1 : begin;
    const std::size_t integer = at;
    at = skipDigits(text, at);
    bool digits = at > integer;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = at + 1;
        at = skipDigits(text, fraction);
        digits = digits || at > fraction;
    }
    if (!digits) {
        return 0;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        const std::size_t exponent = isSign(text, at + 1) ? at + 2 : at + 1;
        if (isDigit(text, exponent)) {
            at = skipDigits(text, exponent);
        }
    }
    return at - begin;
}
