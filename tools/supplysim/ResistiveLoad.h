#pragma once

// A resistor across the output terminals: decides whether the supply regulates
// voltage or current and what it then reads back.
class ResistiveLoad {
public:
    static constexpr int kFullScaleRaw = 1000;

    struct Reading {
        int voltageRaw;
        int currentRaw;
        bool constantVoltage;
    };

    // Zero, negative or NaN ohms count as a short circuit.
    explicit ResistiveLoad(double ohms);

    double ohms() const { return ohms_; }

    Reading read(int voltageSetRaw, int currentLimitRaw, double voltageMax, double currentMax) const;

    // Rounds a value in full-scale units to raw thousandths, clamped to 0..1000.
    static int toRaw(double value, double fullScale);

private:
    double ohms_;
};
