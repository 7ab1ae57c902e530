#include "readings/SupplyReadings.h"

#include "controller/SupplyController.h"

Reading SupplyReadings::measured(const SupplyController& controller)
{
    Reading reading = lost();
    if (const auto& latest = controller.latest()) {
        reading.linked = true;
        reading.monotonic = latest->at;
        reading.voltage = latest->volts;
        reading.current = latest->amperes;
        reading.voltageRegulated = latest->voltageRegulated;
        reading.outputOn = latest->outputOn;
        reading.setVoltage = controller.voltageSetpoint();
        reading.setCurrent = controller.currentSetpoint();
    }
    return reading;
}

Reading SupplyReadings::lost()
{
    Reading reading;
    reading.time = std::chrono::system_clock::now();
    reading.monotonic = std::chrono::steady_clock::now();
    return reading;
}
