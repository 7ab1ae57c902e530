#include "readings/ValueScale.h"

#include <algorithm>
#include <cmath>

double ValueScale::withHeadroom(double value)
{
    const double grown = value * (1.0 + kHeadroom);
    return std::isfinite(grown) ? grown : value;
}

ValueScale::Range ValueScale::extremes(const std::vector<double>& values)
{
    Range range{0.0, 0.0};
    for (const double value : values) {
        if (std::isfinite(value)) {
            range = {std::min(range.lower, value), std::max(range.upper, value)};
        }
    }
    return range;
}

ValueScale::Range ValueScale::fit(const std::vector<double>& values, double fullScale)
{
    const Range found = extremes(values);
    const bool known = fullScale > 0.0 && std::isfinite(fullScale);
    double upper = withHeadroom(found.upper);
    if (known) {
        upper = std::min(upper, std::max(fullScale, found.upper));
    }
    upper = std::max(upper, known ? fullScale * kSmallestShare : kSmallestShare);
    return {withHeadroom(found.lower), upper};
}

ValueScale::Range ValueScale::whole(const std::vector<double>& values, double fullScale)
{
    if (!(fullScale > 0.0 && std::isfinite(fullScale))) {
        return fit(values, fullScale);
    }
    const Range found = extremes(values);
    return {withHeadroom(found.lower), std::max(fullScale, found.upper)};
}
