#include "ResistiveLoad.h"

#include <cmath>

ResistiveLoad::ResistiveLoad(double ohms)
    : ohms_(ohms > 0.0 ? ohms : 0.0)
{
}

ResistiveLoad::Reading ResistiveLoad::read(
    int voltageSetRaw, int currentLimitRaw, double voltageMax, double currentMax) const
{
    const double voltageSet = voltageSetRaw * voltageMax / kFullScaleRaw;
    const double currentLimit = currentLimitRaw * currentMax / kFullScaleRaw;
    // Written as a product so that a short circuit needs no division by zero.
    if (ohms_ > 0.0 && voltageSet <= currentLimit * ohms_) {
        return {toRaw(voltageSet, voltageMax), toRaw(voltageSet / ohms_, currentMax), true};
    }
    return {toRaw(currentLimit * ohms_, voltageMax), toRaw(currentLimit, currentMax), false};
}

int ResistiveLoad::toRaw(double value, double fullScale)
{
    const double raw = value / fullScale * kFullScaleRaw;
    if (!(raw > 0.0)) {
        return 0;
    }
    if (raw >= kFullScaleRaw) {
        return kFullScaleRaw;
    }
    return static_cast<int>(std::lround(raw));
}
