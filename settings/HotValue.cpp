#include "settings/HotValue.h"

#include "settings/DecimalNumber.h"
#include "supply/Conversions.h"

HotValue HotValue::fromText(const std::string& text)
{
    HotValue read;
    read.value = DecimalNumber::read(text);
    read.thousandths = Conversions::truncateToInt32(read.value * 1000);
    if (text.find('.') == std::string::npos) {
        read.thousandths /= 10;
        read.value *= 0.1;
    }
    return read;
}
