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

std::int32_t HotValue::tenths() const
{
    constexpr std::int64_t kHalf = 50;
    const std::int64_t rounded = thousandths + (thousandths < 0 ? -kHalf : kHalf);
    return static_cast<std::int32_t>(rounded / (2 * kHalf));
}
