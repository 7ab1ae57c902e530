#include "CellCurve.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

using Point = CellCurve::Point;

// 0.1 ohm-ampere-hours: a 2 Ah cell has 50 milliohms. Full is 4.20 V, and above it the
// voltage climbs steeply, so a hold at 4.20 V tapers to nothing.
constexpr std::array<Point, 14> kLithiumIon{{
    {0.00, 3.00, 0.1},
    {0.05, 3.30, 0.1},
    {0.10, 3.45, 0.1},
    {0.20, 3.55, 0.1},
    {0.30, 3.62, 0.1},
    {0.40, 3.67, 0.1},
    {0.50, 3.72, 0.1},
    {0.60, 3.79, 0.1},
    {0.70, 3.87, 0.1},
    {0.80, 3.96, 0.1},
    {0.90, 4.07, 0.1},
    {1.00, 4.20, 0.1},
    {1.05, 4.40, 0.1},
    {1.10, 4.60, 0.1},
}};

// A flat plateau near 3.3 V that turns up sharply into full at 3.60 V.
constexpr std::array<Point, 12> kIronPhosphate{{
    {0.00, 2.50, 0.05},
    {0.05, 3.00, 0.05},
    {0.10, 3.20, 0.05},
    {0.20, 3.25, 0.05},
    {0.50, 3.30, 0.05},
    {0.70, 3.32, 0.05},
    {0.90, 3.35, 0.05},
    {0.95, 3.40, 0.05},
    {0.99, 3.50, 0.05},
    {1.00, 3.60, 0.05},
    {1.05, 3.90, 0.05},
    {1.10, 4.10, 0.05},
}};

// At rest 1.95 to 2.15 V. Near full the plates take charge ever harder: the resistance
// climbs a hundredfold, so 2.45 V settles near 3 % of C and 2.25 V near 1 % of C.
constexpr std::array<Point, 8> kLead{{
    {0.00, 1.95, 0.03},
    {0.50, 2.05, 0.03},
    {0.70, 2.09, 0.05},
    {0.80, 2.11, 0.3},
    {0.90, 2.13, 1.5},
    {0.95, 2.14, 4.0},
    {1.00, 2.15, 10.0},
    {1.10, 2.16, 10.0},
}};

// A 1.2 V plateau rising to a peak at full, a short flat top, then the dip of a
// warming cell: 15 mV by 6 % overcharge, 20 mV at the most.
constexpr std::array<Point, 11> kNickelMetalHydride{{
    {0.00, 1.00, 0.05},
    {0.05, 1.15, 0.05},
    {0.10, 1.20, 0.05},
    {0.50, 1.25, 0.05},
    {0.80, 1.30, 0.05},
    {0.90, 1.34, 0.05},
    {0.95, 1.38, 0.05},
    {1.00, 1.43, 0.05},
    {1.02, 1.43, 0.05},
    {1.06, 1.415, 0.05},
    {1.10, 1.41, 0.05},
}};

// Nickel-cadmium: the nickel-metal hydride curve with its lower resistance.
constexpr std::array<Point, 11> kNickelCadmium = [] {
    std::array<Point, 11> points = kNickelMetalHydride;
    for (Point& point : points) {
        point.ohmAmpereHours = 0.03;
    }
    return points;
}();

} // namespace

CellCurve::CellCurve(std::span<const Point> points)
    : points_(points)
{
}

const CellCurve& CellCurve::of(BatteryPack::Chemistry chemistry)
{
    static const CellCurve lithiumIon(kLithiumIon);
    static const CellCurve ironPhosphate(kIronPhosphate);
    static const CellCurve lead(kLead);
    static const CellCurve nickelMetalHydride(kNickelMetalHydride);
    static const CellCurve nickelCadmium(kNickelCadmium);
    switch (chemistry) {
    case BatteryPack::Chemistry::LiFePO4:
        return ironPhosphate;
    case BatteryPack::Chemistry::LeadAcid:
    case BatteryPack::Chemistry::Agm:
    case BatteryPack::Chemistry::Gel:
        return lead;
    case BatteryPack::Chemistry::NiMH:
        return nickelMetalHydride;
    case BatteryPack::Chemistry::NiCd:
        return nickelCadmium;
    case BatteryPack::Chemistry::LiIon:
    case BatteryPack::Chemistry::LiPo:
        break;
    }
    return lithiumIon;
}

double CellCurve::volts(double stateOfCharge) const
{
    return interpolate(stateOfCharge, &Point::volts);
}

double CellCurve::ohmAmpereHours(double stateOfCharge) const
{
    return interpolate(stateOfCharge, &Point::ohmAmpereHours);
}

double CellCurve::interpolate(double stateOfCharge, double Point::*value) const
{
    const auto above = std::find_if(points_.begin(), points_.end(),
        [stateOfCharge](const Point& point) { return point.stateOfCharge > stateOfCharge; });
    if (above == points_.begin()) {
        return (*above).*value;
    }
    const Point& low = *std::prev(above);
    if (above == points_.end()) {
        return low.*value;
    }
    const double fraction = (stateOfCharge - low.stateOfCharge) / (above->stateOfCharge - low.stateOfCharge);
    return low.*value + fraction * ((*above).*value - low.*value);
}
