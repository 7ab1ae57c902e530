#pragma once

#include <cstdint>
#include <string>

// One stored voltage or current as read from the file: in thousandths of a
// volt or ampere, and the value shown in its row.
struct HotValue {
    std::int32_t thousandths = 0;
    double value = 0.0;

    // To the nearest tenth, as the hot-values list keeps it.
    std::int32_t tenths() const;

    // A text with a point is in volts or amperes; one without, in tenths.
    static HotValue fromText(const std::string& text);
};
