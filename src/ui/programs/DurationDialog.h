#pragma once

#include "program/ProgramStep.h"
#include "supply/ModelProfile.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class UnitEdit;

// How long a step lasts, and whether it moves the voltage or the current
// from one value to another over that time.
class DurationDialog : public QDialog {
    Q_OBJECT

public:
    // Where the steps before leave the supply: a new ramp starts there.
    struct Before {
        double volts = 0.0;
        double amperes = 0.0;
    };

    // The profile all 0 while no supply is identified.
    DurationDialog(const ProgramStep& step, ModelProfile profile, Before before, QWidget* parent = nullptr);

    // A ramped quantity is no longer also set as a level.
    void applyTo(ProgramStep& step) const;

private:
    void chooseQuantity();

    ModelProfile profile_;
    // None once the step ramps: its own start is kept.
    std::optional<Before> before_;
    UnitEdit* duration_;
    QCheckBox* ramped_;
    QComboBox* quantity_;
    UnitEdit* from_;
    UnitEdit* to_;
};
