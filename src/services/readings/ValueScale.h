#pragma once

#include <vector>

// The range of one value axis of the chart: from zero, or from the lowest
// value below it, to the highest value shown with a little headroom. The
// model's full scale is the ceiling, but a value beyond it is never cut off.
class ValueScale {
public:
    struct Range {
        double lower;
        double upper;
    };

    // fullScale 0 or less: not known yet. NaNs are gaps, not values.
    static Range fit(const std::vector<double>& values, double fullScale);
    // Zero to the full scale, as far as the values allow.
    static Range whole(const std::vector<double>& values, double fullScale);

private:
    static constexpr double kHeadroom = 0.1;
    // The smallest fitted range as a share of the full scale, so that a
    // supply at rest shows its zero at the floor rather than noise.
    static constexpr double kSmallestShare = 0.01;

    static Range extremes(const std::vector<double>& values);
    static double withHeadroom(double value);
};
